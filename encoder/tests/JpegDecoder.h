// Test support: decoding with libjpeg-turbo and comparing with the source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vardolin::test {

struct Decoded {
    bool ok = false;
    std::string error;
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<uint8_t> pixels;  // top row first, `components` bytes per pixel
};

Decoded DecodeJpeg(const std::vector<uint8_t>& bytes);

// Peak signal-to-noise ratio of a decoded picture against RGB pixels, in dB
// (compared as grey when the decoded picture has one component).
double Psnr(const Decoded& decoded, const std::vector<uint8_t>& rgb);

}  // namespace vardolin::test
