// The encoder's picture source on a Windows device context: a memory DC
// compatible with the screen holding a 24-bit bottom-up DIB section, filled
// by BitBlt (1:1) or StretchBlt (HALFTONE, or COLORONCOLOR where HALFTONE is
// not available) from the source DC.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

#include "PictureSource.h"

namespace vardolin::capture {

class GdiPictureSource final : public PictureSource {
public:
    explicit GdiPictureSource(HDC source) noexcept : Source(source) {}
    ~GdiPictureSource() override = default;
    GdiPictureSource(const GdiPictureSource&) = delete;
    GdiPictureSource& operator=(const GdiPictureSource&) = delete;

    bool CreateCanvas(int32_t width, int32_t height) override;
    void Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
              int32_t destTop, int32_t destWidth, int32_t destHeight) override;
    CanvasView Canvas() override;
    void ReleaseCanvas() override;

private:
    struct DcDeleter {
        void operator()(HDC dc) const noexcept { DeleteDC(dc); }
    };
    struct BitmapDeleter {
        void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
    };
    // Puts the DC's original bitmap back, so that ours can be deleted.
    struct RestoreSelection {
        HDC dc;
        void operator()(HGDIOBJ previous) const noexcept { SelectObject(dc, previous); }
    };

    // Members are destroyed last to first: the selection is undone first, then
    // the bitmap deleted, then the DC.
    struct Surface {
        std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc;
        std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter> bitmap;
        std::unique_ptr<void, RestoreSelection> selection{nullptr, RestoreSelection{nullptr}};
        CanvasView view;
    };

    HDC Source;
    std::unique_ptr<Surface> Current;
};

}  // namespace vardolin::capture
