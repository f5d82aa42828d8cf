// A picture held in memory as a PictureSource: the portable way to feed the
// encoder (tests, benchmarks, fuzzing).
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/RowPictureSource.h"

namespace vardolin {

class MemoryPicture : public RowPictureSource {
public:
    // rgb: width x height pixels, top row first, 3 bytes (red, green, blue) each.
    MemoryPicture(int32_t width, int32_t height, std::vector<uint8_t> rgb);
    // Copies hold the same picture, without a canvas.
    MemoryPicture(const MemoryPicture& other) = default;
    MemoryPicture& operator=(const MemoryPicture& other) = default;
    MemoryPicture(MemoryPicture&&) = default;
    MemoryPicture& operator=(MemoryPicture&&) = default;

    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) override;

    const std::vector<uint8_t>& Rgb() const { return rgb_; }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> rgb_;
};

}  // namespace vardolin
