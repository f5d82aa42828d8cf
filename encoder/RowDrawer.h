// Draws a rectangle of a picture scaled to a destination size, one
// destination row at a time: copied 1:1 when the sizes are equal, halved by
// 2 x 2 means when the destination is half the size both ways, stretched with
// area averaging otherwise. Pixels outside the picture read as black.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "encoder/PixelRows.h"

namespace vardolin {

class RowDrawer {
public:
    RowDrawer(PixelRows& picture, int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
              int32_t destWidth, int32_t destHeight);

    // Writes destination row y (0..destHeight - 1) as destWidth blue, green,
    // red pixels. Rows must come in increasing order.
    void DrawRow(int32_t y, uint8_t* bgr);

private:
    // Which source cells (and how much of each) one destination cell covers.
    struct Span {
        int64_t first;
        std::vector<double> weights;
    };
    static std::vector<Span> AreaSpans(int32_t n, int32_t m);

    // Source columns first..first + count - 1 of the rectangle's row y, black
    // outside the picture.
    void ReadSourceRow(int64_t y, int64_t first, int64_t count, uint8_t* bgr);
    void CopyRow(int32_t y, uint8_t* bgr);
    void HalveRow(int32_t y, uint8_t* bgr);
    void StretchRow(int32_t y, uint8_t* bgr);
    void SumSourceRow(int64_t sy);
    double* SummedRow(int64_t sy) { return &window_[size_t(sy % windowRows_) * size_t(destWidth_) * 3]; }

    enum class Mode { Copy, Halve, Stretch };

    PixelRows& picture_;
    int32_t srcLeft_, srcTop_, srcWidth_, srcHeight_, destWidth_, destHeight_;
    Mode mode_;
    std::vector<uint8_t> line_;        // source pixels of one row
    std::vector<uint8_t> secondLine_;  // halving: the row below
    // Stretching: the horizontal spans, the vertical spans, a window of rows
    // summed horizontally, and the next source row to be summed.
    std::vector<Span> columns_, rows_;
    std::vector<double> window_, lineValues_, total_;
    int64_t windowRows_ = 1;
    int64_t summedTo_ = 0;
};

}  // namespace vardolin
