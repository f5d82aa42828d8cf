// The reference encoders the benchmark compares against. Each returns the
// size of the JPEG it produced at quality 75.
#pragma once

#include <cstdint>
#include <vector>

namespace vardolin::bench {

long EncodeLibjpeg(const std::vector<uint8_t>& rgb, int width, int height, bool subsampled);
long EncodeStb(const std::vector<uint8_t>& rgb, int width, int height, bool subsampled);

}  // namespace vardolin::bench
