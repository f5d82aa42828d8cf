#include "win/GdiPictureSource.h"

#include <limits>

namespace vardolin {

bool GdiPictureSource::CreateCanvas(int32_t width, int32_t height) {
    ReleaseCanvas();
    if (width <= 0 || height <= 0) return false;
    const uint64_t stride = (3 * static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
    const uint64_t imageSize = stride * static_cast<uint64_t>(height);
    if (imageSize > std::numeric_limits<DWORD>::max()) return false;

    auto surface = std::make_unique<Surface>();
    surface->dc.reset(CreateCompatibleDC(nullptr));
    if (!surface->dc) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(imageSize);
    void* bits = nullptr;
    surface->bitmap.reset(CreateDIBSection(surface->dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface->bitmap || !bits) return false;

    surface->selection = ScopedSelection(surface->dc.get(), surface->bitmap.get());
    if (!surface->selection) return false;
    if (SetStretchBltMode(surface->dc.get(), HALFTONE) == 0) SetStretchBltMode(surface->dc.get(), COLORONCOLOR);

    surface->view = {static_cast<uint8_t*>(bits), width, height, static_cast<int32_t>(stride)};
    current_ = std::move(surface);
    return true;
}

void GdiPictureSource::Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight, int32_t destTop,
                            int32_t destWidth, int32_t destHeight) {
    if (!current_) return;
    HDC canvas = current_->dc.get();
    // The blits' results are not checked: whatever the source yields is
    // encoded as it comes.
    if (srcWidth == destWidth && srcHeight == destHeight) {
        BitBlt(canvas, 0, destTop, destWidth, destHeight, source_, srcLeft, srcTop, SRCCOPY);
    } else {
        StretchBlt(canvas, 0, destTop, destWidth, destHeight, source_, srcLeft, srcTop, srcWidth, srcHeight, SRCCOPY);
    }
    GdiFlush();  // the encoder reads the bits directly
}

CanvasView GdiPictureSource::Canvas() {
    if (!current_) return {};
    GdiFlush();
    return current_->view;
}

void GdiPictureSource::ReleaseCanvas() { current_.reset(); }

}  // namespace vardolin
