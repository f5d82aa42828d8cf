// Halves a picture both ways (the chroma of 4:2:0): each destination pixel is
// the mean of a 2 x 2 block, summed in integers and rounded with halves up,
// which is exactly what area averaging gives for these weights.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vardolin {

// pixels destination pixels from 2 * pixels pixels of each of two rows, all
// blue, green, red.
void HalveRows(const uint8_t* top, const uint8_t* bottom, uint8_t* out, size_t pixels);

// The byte-shuffle version, for processors with SSSE3 (in a file of its own).
void HalveRowsSsse3(const uint8_t* top, const uint8_t* bottom, uint8_t* out, size_t pixels);

// One pixel at a time; the SSSE3 version ends with it.
inline void HalveRowsPlain(const uint8_t* top, const uint8_t* bottom, uint8_t* out, size_t pixels) {
    for (size_t x = 0; x < pixels; ++x, top += 6, bottom += 6, out += 3)
        for (int c = 0; c < 3; ++c) out[c] = uint8_t((top[c] + top[3 + c] + bottom[c] + bottom[3 + c] + 2) >> 2);
}

}  // namespace vardolin
