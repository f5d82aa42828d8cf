// The detector's picture pyramid: the picture shrunk step by step so the
// fixed-size detection window covers ever larger faces, and the integral
// image of each level.
#pragma once

#include "autoframe/GreyPicture.h"

#include <cstdint>
#include <vector>

namespace vardolin::autoframe {

// Scales are fixed-point, kScaleOne to one: level k is the picture shrunk by
// scale_k, scale_0 = 1 and scale_k+1 = scale_k * 6 / 5 (rounded). Finer steps found
// the same faces at twice the time.
inline constexpr int kScaleOne = 1024;

// The scales at which a window of windowSize pixels still fits in a picture
// of width x height, smallest first.
std::vector<int> PyramidScales(int width, int height, int windowSize);

// The picture shrunk by scale (at least kScaleOne), with bilinear
// interpolation in integer arithmetic.
GreyPicture Shrink(const GreyPicture& picture, int scale);

// Sums of all pixels above and left of each point: (width + 1) x (height + 1)
// entries, row 0 and column 0 zero. Unsigned sums wrap; the difference of
// four corners is exact for any block of fewer than 2^24 pixels.
struct IntegralImage {
    int stride = 0;  // width + 1
    std::vector<uint32_t> sums;
};
IntegralImage Integrate(const GreyPicture& picture);

}  // namespace vardolin::autoframe
