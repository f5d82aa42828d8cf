// A picture that hands out its rows one at a time: the portable sources
// (pictures in memory, picture files) read this way, so that only the rows
// being worked on need to be at hand.
#pragma once

#include <cstdint>

namespace vardolin {

class PixelRows {
public:
    virtual ~PixelRows() = default;

    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;

    // Writes pixels left..left + count - 1 of row y (top row 0), all inside
    // the picture, as blue, green, red bytes. Rows are mostly asked for in
    // increasing order.
    virtual void ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) = 0;
};

}  // namespace vardolin
