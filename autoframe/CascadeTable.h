// A trained cascade in the form the detector evaluates: stages of stumps over
// multi-block LBP features, with fixed-point leaves and thresholds. The table
// is generated at build time from the cascade's XML (cascade_table.py).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vardolin::autoframe {

// Leaves and thresholds are integers, kLeafScale to one.
inline constexpr int32_t kLeafScale = 1 << 16;

// A 3 x 3 grid of blocks, each width x height, whose top-left corner is at
// (x, y) in the detection window.
struct LbpFeature {
    uint8_t x, y, width, height;
};

// One weak classifier: the feature's 8-bit code c picks `inside` when bit c of
// the 256-bit subset is set, `outside` otherwise.
struct Stump {
    uint16_t feature;
    std::array<uint32_t, 8> subset;
    int32_t inside, outside;
};

// A window passes a stage when the sum of its stumps reaches the threshold.
struct Stage {
    uint16_t firstStump, stumpCount;
    int32_t threshold;
};

struct Cascade {
    int windowWidth, windowHeight;
    std::span<const LbpFeature> features;
    std::span<const Stump> stumps;
    std::span<const Stage> stages;
};

// The frontal-face cascade compiled into the product.
extern const Cascade kFrontalFaceCascade;

}  // namespace vardolin::autoframe
