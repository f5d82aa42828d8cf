#include "encoder/MemoryPicture.h"

#include <stdexcept>

#include "encoder/PixelCopy.h"

namespace vardolin {

MemoryPicture::MemoryPicture(int32_t width, int32_t height, std::vector<uint8_t> rgb)
    : width_(width), height_(height), rgb_(std::move(rgb)) {
    if (width < 0 || height < 0 || rgb_.size() != size_t(width) * size_t(height) * 3)
        throw std::invalid_argument("picture size does not match its pixels");
}

void MemoryPicture::ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) {
    CopySwappingRedAndBlue(&rgb_[(size_t(y) * size_t(width_) + size_t(left)) * 3], bgr, size_t(count));
}

}  // namespace vardolin
