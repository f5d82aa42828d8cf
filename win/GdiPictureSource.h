// The encoder's picture source on a Windows device context: a memory DC
// compatible with the screen holding a 24-bit bottom-up DIB section, filled
// by BitBlt (1:1) or StretchBlt (HALFTONE, or COLORONCOLOR where HALFTONE is
// not available) from the source DC.
#pragma once

#include <windows.h>

#include <memory>

#include "encoder/PictureSource.h"
#include "win/Win32Handles.h"

namespace vardolin {

class GdiPictureSource final : public PictureSource {
public:
    explicit GdiPictureSource(HDC source) noexcept : source_(source) {}
    ~GdiPictureSource() override = default;
    GdiPictureSource(const GdiPictureSource&) = delete;
    GdiPictureSource& operator=(const GdiPictureSource&) = delete;

    bool CreateCanvas(int32_t width, int32_t height) override;
    void Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight, int32_t destTop, int32_t destWidth,
              int32_t destHeight) override;
    CanvasView Canvas() override;
    void ReleaseCanvas() override;

private:
    // Members are destroyed last to first: the selection is undone first (the
    // DC's original bitmap put back, so that ours can be deleted), then the
    // bitmap deleted, then the DC.
    struct Surface {
        UniqueMemoryDc dc;
        UniqueBitmap bitmap;
        ScopedSelection selection;
        CanvasView view;
    };

    HDC source_;
    std::unique_ptr<Surface> current_;
};

}  // namespace vardolin
