#include "encoder/tests/TestPictures.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vardolin::test {

std::vector<uint8_t> GradientRgb(int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(255.0 * x / std::max(1, width - 1));
            p[1] = static_cast<uint8_t>(255.0 * y / std::max(1, height - 1));
            p[2] = static_cast<uint8_t>(128 + 100 * std::sin((x + 2 * y) / 9.0));
            if ((x / 37 + y / 29) % 5 == 0) p[1] = 255 - p[1];
        }
    return rgb;
}

std::vector<uint8_t> NoiseRgb(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (uint8_t& v : rgb) v = static_cast<uint8_t>(random() & 0xFF);
    return rgb;
}

std::vector<uint8_t> FlatRgb(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = r, rgb[i + 1] = g, rgb[i + 2] = b;
    return rgb;
}

}  // namespace vardolin::test
