#include "autoframe/GreyPicture.h"

namespace vardolin::autoframe {

bool GreyPicture::Valid() const noexcept {
    return width > 0 && height > 0 && pixels.size() >= static_cast<size_t>(width) * static_cast<size_t>(height);
}

GreyPicture GreyFromBgr(const uint8_t* firstRow, int width, int height, size_t stride, RowOrder order) {
    GreyPicture grey;
    if (!firstRow || width <= 0 || height <= 0 || stride < static_cast<size_t>(width) * 3) return grey;
    grey.width = width;
    grey.height = height;
    grey.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        int stored = order == RowOrder::TopDown ? y : height - 1 - y;
        const uint8_t* bgr = firstRow + stride * static_cast<size_t>(stored);
        uint8_t* out = grey.pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x, bgr += 3)
            out[x] = static_cast<uint8_t>((29 * bgr[0] + 150 * bgr[1] + 77 * bgr[2] + 128) >> 8);
    }
    return grey;
}

}  // namespace vardolin::autoframe
