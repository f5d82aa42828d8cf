#include "autoframe/CascadeScan.h"

#include <array>

namespace vardolin::autoframe {
namespace {

// The 4 x 4 grid corners of a feature's 3 x 3 blocks, as offsets into the
// integral image from the window's top-left corner.
using Corners = std::array<uint32_t, 16>;

std::vector<Corners> FeatureCorners(const Cascade& cascade, int stride) {
    std::vector<Corners> all;
    all.reserve(cascade.features.size());
    for (const LbpFeature& f : cascade.features) {
        Corners corners{};
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                corners[row * 4 + column] =
                    static_cast<uint32_t>((f.y + row * f.height) * stride + f.x + column * f.width);
        all.push_back(corners);
    }
    return all;
}

// The 8-bit code: one bit per outer block whose sum reaches the centre
// block's, clockwise from the top-left block (bit 7) to the middle-left one
// (bit 0). The nine sums come from the sixteen grid corners.
int LbpCode(const uint32_t* window, const Corners& c) {
    uint32_t p[16];
    for (int i = 0; i < 16; ++i) p[i] = window[c[i]];
    auto sum = [&p](int row, int column) {
        int i = row * 4 + column;
        return p[i] - p[i + 1] - p[i + 4] + p[i + 5];
    };
    uint32_t centre = sum(1, 1);
    auto bit = [&](int row, int column, int weight) { return sum(row, column) >= centre ? weight : 0; };
    return bit(0, 0, 128) | bit(0, 1, 64) | bit(0, 2, 32) | bit(1, 2, 16) | bit(2, 2, 8) | bit(2, 1, 4) | bit(2, 0, 2) |
           bit(1, 0, 1);
}

bool PassesCascade(const Cascade& cascade, const std::vector<Corners>& corners, const uint32_t* window) {
    for (const Stage& stage : cascade.stages) {
        int32_t sum = 0;
        for (const Stump& stump : cascade.stumps.subspan(stage.firstStump, stage.stumpCount)) {
            int code = LbpCode(window, corners[stump.feature]);
            // Without a branch: which leaf a code picks is hard to predict.
            int32_t picked = -static_cast<int32_t>((stump.subset[code >> 5] >> (code & 31)) & 1);
            sum += stump.outside + ((stump.inside - stump.outside) & picked);
        }
        if (sum < stage.threshold) return false;
    }
    return true;
}

int ToPicture(int levelPixels, int scale) {
    return static_cast<int>((static_cast<int64_t>(levelPixels) * scale + kScaleOne / 2) / kScaleOne);
}

}  // namespace

void ScanLevel(const Cascade& cascade, const IntegralImage& integral, int levelWidth, int levelHeight, int scale,
               int step, std::vector<Hit>& hits) {
    std::vector<Corners> corners = FeatureCorners(cascade, integral.stride);
    for (int y = 0; y + cascade.windowHeight <= levelHeight; y += step) {
        const uint32_t* row = integral.sums.data() + static_cast<size_t>(y) * integral.stride;
        for (int x = 0; x + cascade.windowWidth <= levelWidth; x += step) {
            if (PassesCascade(cascade, corners, row + x))
                hits.push_back({ToPicture(x, scale), ToPicture(y, scale), ToPicture(cascade.windowWidth, scale),
                                ToPicture(cascade.windowHeight, scale)});
        }
    }
}

}  // namespace vardolin::autoframe
