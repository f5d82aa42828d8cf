// Test support: a picture that only draws into a whole canvas, as the
// device-context source of the Windows build does. SampleHDC then reads the
// canvas instead of taking the picture band by band from its rows.
#pragma once

#include "encoder/RowPictureSource.h"

namespace vardolin::test {

class CanvasOnly final : public PictureSource {
public:
    explicit CanvasOnly(RowPictureSource& picture) : picture_(picture) {}
    bool CreateCanvas(int32_t width, int32_t height) override { return picture_.CreateCanvas(width, height); }
    void Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight, int32_t destTop, int32_t destWidth,
              int32_t destHeight) override {
        picture_.Draw(srcLeft, srcTop, srcWidth, srcHeight, destTop, destWidth, destHeight);
    }
    CanvasView Canvas() override { return picture_.Canvas(); }
    void ReleaseCanvas() override { picture_.ReleaseCanvas(); }

private:
    RowPictureSource& picture_;
};

}  // namespace vardolin::test
