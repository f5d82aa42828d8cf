// Test support: synthetic pictures with a known content.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/MemoryPicture.h"

namespace vardolin::test {

// Smooth colour gradients with a few edges: compresses like a photo.
std::vector<uint8_t> GradientRgb(int width, int height);
// Uniformly random pixels from a fixed seed.
std::vector<uint8_t> NoiseRgb(int width, int height, uint32_t seed);
std::vector<uint8_t> FlatRgb(int width, int height, uint8_t r, uint8_t g, uint8_t b);

inline MemoryPicture Picture(int width, int height, std::vector<uint8_t> rgb) {
    return MemoryPicture(width, height, std::move(rgb));
}

}  // namespace vardolin::test
