#include "autoframe/Pyramid.h"

#include <algorithm>

namespace vardolin::autoframe {
namespace {

// Where destination pixel d samples the source, in 1/65536 pixel: pixel
// centres map to pixel centres, so (d + 1/2) * scale - 1/2.
int64_t SourcePosition(int d, int scale) {
    int64_t position = (2 * static_cast<int64_t>(d) + 1) * scale * (65536 / kScaleOne) / 2 - 32768;
    return std::max<int64_t>(position, 0);
}

struct Tap {
    int first, second;  // neighbouring source pixels
    int weight;         // of the second, 0..256
};

std::vector<Tap> Taps(int count, int sourceCount, int scale) {
    std::vector<Tap> taps(static_cast<size_t>(count));
    for (int d = 0; d < count; ++d) {
        int64_t position = SourcePosition(d, scale);
        int first = static_cast<int>(std::min<int64_t>(position >> 16, sourceCount - 1));
        taps[d] = {first, std::min(first + 1, sourceCount - 1), static_cast<int>((position & 0xFFFF) >> 8)};
    }
    return taps;
}

}  // namespace

std::vector<int> PyramidScales(int width, int height, int windowSize) {
    std::vector<int> scales;
    for (int scale = kScaleOne;; scale = (scale * 6 + 2) / 5) {
        int64_t levelWidth = static_cast<int64_t>(width) * kScaleOne / scale;
        int64_t levelHeight = static_cast<int64_t>(height) * kScaleOne / scale;
        if (levelWidth < windowSize || levelHeight < windowSize) break;
        scales.push_back(scale);
    }
    return scales;
}

GreyPicture Shrink(const GreyPicture& picture, int scale) {
    GreyPicture level;
    level.width = static_cast<int>(static_cast<int64_t>(picture.width) * kScaleOne / scale);
    level.height = static_cast<int>(static_cast<int64_t>(picture.height) * kScaleOne / scale);
    level.pixels.resize(static_cast<size_t>(level.width) * static_cast<size_t>(level.height));
    std::vector<Tap> columns = Taps(level.width, picture.width, scale);
    std::vector<Tap> rows = Taps(level.height, picture.height, scale);
    uint8_t* out = level.pixels.data();
    for (const Tap& row : rows) {
        const uint8_t* upper = picture.pixels.data() + static_cast<size_t>(row.first) * picture.width;
        const uint8_t* lower = picture.pixels.data() + static_cast<size_t>(row.second) * picture.width;
        for (const Tap& column : columns) {
            int top = upper[column.first] * (256 - column.weight) + upper[column.second] * column.weight;
            int bottom = lower[column.first] * (256 - column.weight) + lower[column.second] * column.weight;
            *out++ = static_cast<uint8_t>((top * (256 - row.weight) + bottom * row.weight + 32768) >> 16);
        }
    }
    return level;
}

IntegralImage Integrate(const GreyPicture& picture) {
    IntegralImage integral;
    integral.stride = picture.width + 1;
    integral.sums.assign(static_cast<size_t>(integral.stride) * (picture.height + 1), 0);
    for (int y = 0; y < picture.height; ++y) {
        uint32_t rowSum = 0;
        const uint32_t* above = integral.sums.data() + static_cast<size_t>(y) * integral.stride;
        uint32_t* here = integral.sums.data() + static_cast<size_t>(y + 1) * integral.stride;
        for (int x = 0; x < picture.width; ++x) {
            rowSum += picture.At(x, y);
            here[x + 1] = above[x + 1] + rowSum;
        }
    }
    return integral;
}

}  // namespace vardolin::autoframe
