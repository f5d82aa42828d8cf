#include "encoder/RowDrawer.h"

#include <algorithm>
#include <cmath>

#include "encoder/Halving.h"

namespace vardolin {

namespace {

// The source rows a destination row adds up, in order, with the last row
// standing in for any beyond the rectangle's height.
int64_t SpanRow(int64_t first, size_t k, int32_t srcHeight) {
    return std::min<int64_t>(first + static_cast<int64_t>(k), srcHeight - 1);
}

// Rounds a value of 0..255 to the nearest integer, halves away from zero.
uint8_t RoundToByte(double value) {
    int32_t whole = static_cast<int32_t>(value);
    if (value - whole >= 0.5) ++whole;
    return static_cast<uint8_t>(whole);
}

}  // namespace

std::vector<RowDrawer::Span> RowDrawer::AreaSpans(int32_t n, int32_t m) {
    std::vector<Span> spans(m);
    const double step = static_cast<double>(n) / m;
    for (int32_t d = 0; d < m; ++d) {
        double lo = d * step, hi = (d + 1) * step;
        Span& span = spans[d];
        span.first = static_cast<int64_t>(std::floor(lo));
        for (int64_t s = span.first; s < hi; ++s)
            span.weights.push_back((std::min<double>(hi, s + 1) - std::max<double>(lo, s)) / step);
    }
    return spans;
}

RowDrawer::RowDrawer(PixelRows& picture, int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
                     int32_t destWidth, int32_t destHeight)
    : picture_(picture),
      srcLeft_(srcLeft),
      srcTop_(srcTop),
      srcWidth_(srcWidth),
      srcHeight_(srcHeight),
      destWidth_(destWidth),
      destHeight_(destHeight) {
    if (srcWidth == destWidth && srcHeight == destHeight) {
        mode_ = Mode::Copy;
    } else if (int64_t(srcWidth) == 2 * int64_t(destWidth) && int64_t(srcHeight) == 2 * int64_t(destHeight)) {
        mode_ = Mode::Halve;
        line_.resize(size_t(srcWidth) * 3);
        secondLine_.resize(size_t(srcWidth) * 3);
    } else {
        mode_ = Mode::Stretch;
        columns_ = AreaSpans(srcWidth, destWidth);
        rows_ = AreaSpans(srcHeight, destHeight);
        for (const Span& span : rows_)
            windowRows_ =
                std::max(windowRows_, SpanRow(span.first, span.weights.size() - 1, srcHeight) - span.first + 1);
        window_.resize(size_t(windowRows_) * size_t(destWidth) * 3);
        // The last span may reach one column past srcWidth.
        const Span& lastColumn = columns_.back();
        const size_t lineColumns = size_t(lastColumn.first) + lastColumn.weights.size();
        line_.resize(lineColumns * 3);
        lineValues_.resize(lineColumns * 3);
        total_.resize(size_t(destWidth) * 3);
    }
}

void RowDrawer::DrawRow(int32_t y, uint8_t* bgr) {
    switch (mode_) {
    case Mode::Copy: CopyRow(y, bgr); break;
    case Mode::Halve: HalveRow(y, bgr); break;
    case Mode::Stretch: StretchRow(y, bgr); break;
    }
}

void RowDrawer::ReadSourceRow(int64_t y, int64_t first, int64_t count, uint8_t* bgr) {
    const int64_t row = int64_t(srcTop_) + y;
    // Columns j of the run whose picture column srcLeft + first + j lies in the picture.
    const int64_t left = int64_t(srcLeft_) + first;
    const int64_t inFrom = std::clamp<int64_t>(-left, 0, count);
    const int64_t inTo = std::clamp<int64_t>(int64_t(picture_.Width()) - left, inFrom, count);
    if (row < 0 || row >= picture_.Height() || inFrom == inTo) {
        std::fill(bgr, bgr + 3 * count, uint8_t{0});
        return;
    }
    std::fill(bgr, bgr + 3 * inFrom, uint8_t{0});
    picture_.ReadRow(int32_t(row), int32_t(left + inFrom), int32_t(inTo - inFrom), bgr + 3 * inFrom);
    std::fill(bgr + 3 * inTo, bgr + 3 * count, uint8_t{0});
}

void RowDrawer::CopyRow(int32_t y, uint8_t* bgr) { ReadSourceRow(y, 0, destWidth_, bgr); }

// Every destination pixel is the mean of a 2 x 2 block. Area averaging gives
// the same bytes, since its weights are exactly one half and its sums of
// quarters are exact in double, rounded with halves up as RoundToByte does.
void RowDrawer::HalveRow(int32_t y, uint8_t* bgr) {
    ReadSourceRow(2 * int64_t(y), 0, srcWidth_, line_.data());
    ReadSourceRow(2 * int64_t(y) + 1, 0, srcWidth_, secondLine_.data());
    HalveRows(line_.data(), secondLine_.data(), bgr, size_t(destWidth_));
}

// One source row summed horizontally over every destination column's span.
void RowDrawer::SumSourceRow(int64_t sy) {
    ReadSourceRow(sy, 0, int64_t(line_.size() / 3), line_.data());
    std::copy(line_.begin(), line_.end(), lineValues_.begin());
    double* sums = SummedRow(sy);
    for (int32_t x = 0; x < destWidth_; ++x, sums += 3) {
        const Span& span = columns_[x];
        const double* pixel = &lineValues_[size_t(span.first) * 3];
        double blue = 0, green = 0, red = 0;
        for (double weight : span.weights) {
            blue += weight * pixel[0];
            green += weight * pixel[1];
            red += weight * pixel[2];
            pixel += 3;
        }
        sums[0] = blue, sums[1] = green, sums[2] = red;
    }
}

// Area averaging: every destination pixel is the mean of the source area it
// covers, partly covered source pixels weighted by the covered fraction. Rows
// are summed horizontally first; only the few summed rows that the current
// destination row still needs are kept.
void RowDrawer::StretchRow(int32_t y, uint8_t* bgr) {
    const Span& span = rows_[y];
    const int64_t lastRow = SpanRow(span.first, span.weights.size() - 1, srcHeight_);
    for (summedTo_ = std::max(summedTo_, span.first); summedTo_ <= lastRow; ++summedTo_) SumSourceRow(summedTo_);
    std::fill(total_.begin(), total_.end(), 0.0);
    for (size_t k = 0; k < span.weights.size(); ++k) {
        const double weight = span.weights[k];
        const double* __restrict sums = SummedRow(SpanRow(span.first, k, srcHeight_));
        double* __restrict sum = total_.data();
        for (size_t i = 0; i < total_.size(); ++i) sum[i] += weight * sums[i];
    }
    for (size_t i = 0; i < total_.size(); ++i) bgr[i] = RoundToByte(std::clamp(total_[i], 0.0, 255.0));
}

}  // namespace vardolin
