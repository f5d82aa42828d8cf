// The grey picture the face detector looks at, and its making from the 24-bit
// BGR rows a device-independent bitmap holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vardolin::autoframe {

// Top-down rows of width bytes, one byte per pixel.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    // Whether the size is positive and the pixels are all there.
    bool Valid() const noexcept;
    uint8_t At(int x, int y) const noexcept { return pixels[static_cast<size_t>(y) * width + x]; }
};

// How rows are stored: TopDown when the first row in memory is the picture's
// top row, BottomUp when it is the bottom row (a DIB with a positive height).
enum class RowOrder { TopDown, BottomUp };

// The grey picture of width x height BGR pixels (3 bytes each, blue first).
// firstRow is the first row in memory, stride the bytes from one stored row
// to the next (a DIB pads each row to a multiple of 4). Grey is
// (77 R + 150 G + 29 B + 128) / 256. A size that is not positive, or a stride
// shorter than a row, gives an empty picture.
GreyPicture GreyFromBgr(const uint8_t* firstRow, int width, int height, size_t stride, RowOrder order);

}  // namespace vardolin::autoframe
