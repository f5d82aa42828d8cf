#include "MemoryPicture.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

namespace vardolin {

namespace {

constexpr uint8_t kBlack[3] = {0, 0, 0};

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

}  // namespace

MemoryPicture::MemoryPicture(int32_t width, int32_t height, std::vector<uint8_t> rgb)
    : width_(width), height_(height), rgb_(std::move(rgb)) {
    if (width < 0 || height < 0 || rgb_.size() != size_t(width) * size_t(height) * 3)
        throw std::invalid_argument("picture size does not match its pixels");
}

bool MemoryPicture::CreateCanvas(int32_t width, int32_t height) {
    ReleaseCanvas();
    if (width <= 0 || height <= 0) return false;
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    if (stride * size_t(height) > canvasLimit_) return false;
    try {
        canvas_.assign(stride * height, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    view_ = {canvas_.data(), width, height, static_cast<int32_t>(stride)};
    return true;
}

void MemoryPicture::ReleaseCanvas() {
    canvas_.clear();
    canvas_.shrink_to_fit();
    view_ = {};
}

const uint8_t* MemoryPicture::Pixel(int64_t x, int64_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
    return &rgb_[(size_t(y) * width_ + size_t(x)) * 3];
}

void MemoryPicture::Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
                         int32_t destTop, int32_t destWidth, int32_t destHeight) {
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    if (srcWidth == destWidth && srcHeight == destHeight)
        CopyOneToOne(srcLeft, srcTop, destTop, destWidth, destHeight);
    else
        Stretch(srcLeft, srcTop, srcWidth, srcHeight, destTop, destWidth, destHeight);
}

void MemoryPicture::CopyOneToOne(int32_t srcLeft, int32_t srcTop, int32_t destTop, int32_t w,
                                 int32_t h) {
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* out = view_.Row(destTop + y);
        for (int32_t x = 0; x < w; ++x, out += 3) {
            const uint8_t* p = Pixel(int64_t(srcLeft) + x, int64_t(srcTop) + y);
            out[0] = p[2], out[1] = p[1], out[2] = p[0];
        }
    }
}

// Area averaging: every destination pixel is the mean of the source area it
// covers, partly covered source pixels weighted by the covered fraction.
void MemoryPicture::Stretch(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
                            int32_t destTop, int32_t destWidth, int32_t destHeight) {
    const std::vector<Span> columns = AreaSpans(srcWidth, destWidth);
    const std::vector<Span> rows = AreaSpans(srcHeight, destHeight);
    std::vector<double> horizontal(size_t(destWidth) * srcHeight * 3);
    for (int32_t sy = 0; sy < srcHeight; ++sy) {
        for (int32_t dx = 0; dx < destWidth; ++dx) {
            double sum[3] = {0, 0, 0};
            const Span& span = columns[dx];
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const uint8_t* p = Pixel(srcLeft + span.first + int64_t(k), int64_t(srcTop) + sy);
                for (int c = 0; c < 3; ++c) sum[c] += span.weights[k] * p[c];
            }
            for (int c = 0; c < 3; ++c) horizontal[(size_t(sy) * destWidth + dx) * 3 + c] = sum[c];
        }
    }
    for (int32_t dy = 0; dy < destHeight; ++dy) {
        uint8_t* out = view_.Row(destTop + dy);
        const Span& span = rows[dy];
        for (int32_t dx = 0; dx < destWidth; ++dx, out += 3) {
            double sum[3] = {0, 0, 0};
            for (size_t k = 0; k < span.weights.size(); ++k) {
                int64_t sy = std::min<int64_t>(span.first + int64_t(k), srcHeight - 1);
                for (int c = 0; c < 3; ++c)
                    sum[c] += span.weights[k] * horizontal[(size_t(sy) * destWidth + dx) * 3 + c];
            }
            for (int c = 0; c < 3; ++c)
                out[2 - c] = static_cast<uint8_t>(std::lround(std::clamp(sum[c], 0.0, 255.0)));
        }
    }
}

}  // namespace vardolin
