// Comparing pictures: stored photos decoded by the platform's picture loader
// against the pixels they were made from.
#pragma once

#include "capture/BitmapFile.h"

#include <filesystem>

namespace vardolin::capture::test {

// The pixels of a JPEG file as GDI+ decodes it; empty when it cannot.
BitmapPixels DecodeJpeg(const std::filesystem::path& file);

// Largest and mean difference over all colour channels (256 when the sizes differ).
int LargestDifference(const BitmapPixels& a, const BitmapPixels& b);
double MeanDifference(const BitmapPixels& a, const BitmapPixels& b);

// The block of pixels at (left, top).
BitmapPixels Block(const BitmapPixels& pixels, int left, int top, int width, int height);

}  // namespace vardolin::capture::test
