// A picture source over rows (a picture in memory, a picture file): it hands
// its rows to SampleHDC, and draws into a whole canvas, with the same
// drawing, when asked for one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "encoder/PictureSource.h"
#include "encoder/PixelRows.h"

namespace vardolin {

class RowPictureSource : public PictureSource, public PixelRows {
public:
    // Largest canvas this source agrees to, in bytes.
    void SetCanvasLimit(size_t bytes) { canvasLimit_ = bytes; }

    bool CreateCanvas(int32_t width, int32_t height) override;
    void Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight, int32_t destTop, int32_t destWidth,
              int32_t destHeight) override;
    CanvasView Canvas() override { return view_; }
    void ReleaseCanvas() override;

    PixelRows* Rows() override { return this; }
    bool AcceptsCanvas(int32_t width, int32_t height) const override;

protected:
    RowPictureSource() = default;
    // Copies and moves carry the limit, never a canvas.
    RowPictureSource(const RowPictureSource& other) : canvasLimit_(other.canvasLimit_) {}
    RowPictureSource& operator=(const RowPictureSource& other);

private:
    struct FreeMemory {
        void operator()(uint8_t* memory) const { std::free(memory); }
    };

    // Zero pages straight from the system: no pass over the memory to clear it.
    std::unique_ptr<uint8_t, FreeMemory> canvas_;
    CanvasView view_;
    size_t canvasLimit_ = size_t{1} << 31;
};

}  // namespace vardolin
