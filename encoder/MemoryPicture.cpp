#include "MemoryPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "LargeMemory.h"
#include "PixelCopy.h"

namespace vardolin {

namespace {

// Which source cells (and how much of each) one destination cell covers
// when n source cells are spread over m destination cells.
struct Span {
    int64_t first;
    std::vector<double> weights;
};

std::vector<Span> AreaSpans(int32_t n, int32_t m) {
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

// The source rows a destination row adds up, in order, with the last row
// standing in for any beyond the picture's height.
int64_t SpanRow(const Span& span, size_t k, int32_t srcHeight) {
    return std::min<int64_t>(span.first + static_cast<int64_t>(k), srcHeight - 1);
}

// Rounds a value of 0..255 to the nearest integer, halves away from zero.
uint8_t RoundToByte(double value) {
    int32_t whole = static_cast<int32_t>(value);
    if (value - whole >= 0.5) ++whole;
    return static_cast<uint8_t>(whole);
}

}  // namespace

MemoryPicture::MemoryPicture(int32_t width, int32_t height, std::vector<uint8_t> rgb)
    : width_(width), height_(height), rgb_(std::move(rgb)) {
    if (width < 0 || height < 0 || rgb_.size() != size_t(width) * size_t(height) * 3)
        throw std::invalid_argument("picture size does not match its pixels");
}

MemoryPicture::MemoryPicture(const MemoryPicture& other)
    : width_(other.width_), height_(other.height_), rgb_(other.rgb_), canvasLimit_(other.canvasLimit_) {}

MemoryPicture& MemoryPicture::operator=(const MemoryPicture& other) {
    if (this != &other) {
        ReleaseCanvas();
        width_ = other.width_;
        height_ = other.height_;
        rgb_ = other.rgb_;
        canvasLimit_ = other.canvasLimit_;
    }
    return *this;
}

bool MemoryPicture::CreateCanvas(int32_t width, int32_t height) {
    ReleaseCanvas();
    if (width <= 0 || height <= 0) return false;
    // In 64 bits: a 32-bit size_t could wrap around and pass the limit test.
    const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    const uint64_t bytes = stride * uint64_t(height);
    if (bytes > canvasLimit_ || stride > INT32_MAX) return false;
    canvas_.reset(static_cast<uint8_t*>(std::calloc(size_t(bytes), 1)));
    if (!canvas_) return false;
    PreferLargePages(canvas_.get(), size_t(bytes));
    view_ = {canvas_.get(), width, height, static_cast<int32_t>(stride)};
    return true;
}

void MemoryPicture::ReleaseCanvas() {
    canvas_.reset();
    view_ = {};
}

const uint8_t* MemoryPicture::SourceRow(int64_t y) const {
    if (y < 0 || y >= height_) return nullptr;
    return &rgb_[size_t(y) * size_t(width_) * 3];
}

void MemoryPicture::Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
                         int32_t destTop, int32_t destWidth, int32_t destHeight) {
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    if (srcWidth == destWidth && srcHeight == destHeight)
        CopyOneToOne(srcLeft, srcTop, destTop, destWidth, destHeight);
    else if (int64_t(srcWidth) == 2 * int64_t(destWidth) && int64_t(srcHeight) == 2 * int64_t(destHeight))
        Halve(srcLeft, srcTop, destTop, destWidth, destHeight);
    else
        Stretch(srcLeft, srcTop, srcWidth, srcHeight, destTop, destWidth, destHeight);
}

void MemoryPicture::CopyOneToOne(int32_t srcLeft, int32_t srcTop, int32_t destTop, int32_t w,
                                 int32_t h) {
    // Columns x of the destination whose source column srcLeft + x lies in the picture.
    const int64_t inFrom = std::clamp<int64_t>(-int64_t(srcLeft), 0, w);
    const int64_t inTo = std::clamp<int64_t>(int64_t(width_) - srcLeft, inFrom, w);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* out = view_.Row(destTop + y);
        const uint8_t* row = SourceRow(int64_t(srcTop) + y);
        if (!row) {
            std::fill(out, out + 3 * size_t(w), uint8_t{0});
            continue;
        }
        std::fill(out, out + 3 * inFrom, uint8_t{0});
        CopySwappingRedAndBlue(row + 3 * (int64_t(srcLeft) + inFrom), out + 3 * inFrom, size_t(inTo - inFrom));
        std::fill(out + 3 * inTo, out + 3 * size_t(w), uint8_t{0});
    }
}

// Halving both ways (the chroma of 4:2:0): every destination pixel is the mean
// of a 2 x 2 block. Area averaging gives the same bytes, since its weights are
// exactly one half and its sums of quarters are exact in double; here the
// block is summed in integers and rounded with halves up, as RoundToByte does.
void MemoryPicture::Halve(int32_t srcLeft, int32_t srcTop, int32_t destTop, int32_t w, int32_t h) {
    const int64_t columns = 2 * int64_t(w);
    // Columns j whose source column srcLeft + j lies in the picture; the rest read as black.
    const int64_t inFrom = std::clamp<int64_t>(-int64_t(srcLeft), 0, columns);
    const int64_t inTo = std::clamp<int64_t>(int64_t(width_) - srcLeft, inFrom, columns);
    std::vector<uint16_t> pairs(size_t(columns) * 3);  // two source rows added, column by column
    for (int32_t dy = 0; dy < h; ++dy) {
        std::fill(pairs.begin(), pairs.end(), uint16_t{0});
        for (int64_t k = 0; k < 2; ++k) {
            const uint8_t* row = SourceRow(int64_t(srcTop) + 2 * int64_t(dy) + k);
            if (!row) continue;
            const uint8_t* in = row + 3 * (srcLeft + inFrom);
            uint16_t* sum = &pairs[size_t(inFrom) * 3];
            for (int64_t i = 0; i < 3 * (inTo - inFrom); ++i) sum[i] = uint16_t(sum[i] + in[i]);
        }
        uint8_t* out = view_.Row(destTop + dy);
        const uint16_t* sum = pairs.data();
        for (int32_t dx = 0; dx < w; ++dx, sum += 6, out += 3)
            for (int c = 0; c < 3; ++c) out[2 - c] = uint8_t((sum[c] + sum[3 + c] + 2) >> 2);
    }
}

// Area averaging: every destination pixel is the mean of the source area it
// covers, partly covered source pixels weighted by the covered fraction. Rows
// are summed horizontally first; only the few summed rows that the current
// destination row still needs are kept.
void MemoryPicture::Stretch(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
                            int32_t destTop, int32_t destWidth, int32_t destHeight) {
    const std::vector<Span> columns = AreaSpans(srcWidth, destWidth);
    const std::vector<Span> rows = AreaSpans(srcHeight, destHeight);
    const size_t rowValues = size_t(destWidth) * 3;

    int64_t windowRows = 1;
    for (const Span& span : rows)
        windowRows = std::max(windowRows, SpanRow(span, span.weights.size() - 1, srcHeight) - span.first + 1);
    std::vector<double> window(size_t(windowRows) * rowValues);
    auto summedRow = [&](int64_t sy) { return &window[size_t(sy % windowRows) * rowValues]; };

    // One source row as doubles, black outside the picture, for every column
    // a span reaches (the last span may reach one column past srcWidth).
    const Span& lastColumn = columns.back();
    const int64_t lineColumns = lastColumn.first + int64_t(lastColumn.weights.size());
    std::vector<double> line(size_t(lineColumns) * 3);
    // Line columns j whose source column srcLeft + j lies in the picture.
    const int64_t insideFrom = std::clamp<int64_t>(-int64_t(srcLeft), 0, lineColumns);
    const int64_t insideTo = std::clamp<int64_t>(int64_t(width_) - srcLeft, insideFrom, lineColumns);
    auto sumRow = [&](int64_t sy) {
        const uint8_t* row = SourceRow(int64_t(srcTop) + sy);
        std::fill(line.begin(), line.end(), 0.0);
        if (row) {
            const uint8_t* in = row + 3 * (srcLeft + insideFrom);
            double* out = &line[size_t(insideFrom) * 3];
            for (int64_t i = 0; i < 3 * (insideTo - insideFrom); ++i) out[i] = in[i];
        }
        double* sums = summedRow(sy);
        for (int32_t dx = 0; dx < destWidth; ++dx, sums += 3) {
            const Span& span = columns[dx];
            const double* pixel = &line[size_t(span.first) * 3];
            double blue = 0, green = 0, red = 0;
            for (double weight : span.weights) {
                blue += weight * pixel[0];
                green += weight * pixel[1];
                red += weight * pixel[2];
                pixel += 3;
            }
            sums[0] = blue, sums[1] = green, sums[2] = red;
        }
    };

    std::vector<double> total(rowValues);
    int64_t summedTo = 0;  // source rows below this one have been summed
    for (int32_t dy = 0; dy < destHeight; ++dy) {
        const Span& span = rows[dy];
        const int64_t lastRow = SpanRow(span, span.weights.size() - 1, srcHeight);
        for (summedTo = std::max(summedTo, span.first); summedTo <= lastRow; ++summedTo) sumRow(summedTo);
        std::fill(total.begin(), total.end(), 0.0);
        for (size_t k = 0; k < span.weights.size(); ++k) {
            const double weight = span.weights[k];
            const double* __restrict sums = summedRow(SpanRow(span, k, srcHeight));
            double* __restrict sum = total.data();
            for (size_t i = 0; i < rowValues; ++i) sum[i] += weight * sums[i];
        }
        uint8_t* out = view_.Row(destTop + dy);
        for (size_t i = 0; i < rowValues; i += 3, out += 3)
            for (int c = 0; c < 3; ++c) out[2 - c] = RoundToByte(std::clamp(total[i + c], 0.0, 255.0));
    }
}

}  // namespace vardolin
