// The picture the simulated camera films at a given moment.
#pragma once

#include "BitmapFile.h"

#include <chrono>

namespace vardolin::capture {

// Draws the scene at time t into pixels of the given size. The figure is
// placed for a 320 x 240 view: larger frames show more backdrop to the right
// and below, as a wider camera would.
void DrawSimulatedScene(BitmapPixels& pixels, int width, int height, std::chrono::milliseconds t);

// Applies brightness (added to each channel) and contrast (percent, around
// mid-grey) to every pixel.
void AdjustBrightnessContrast(BitmapPixels& pixels, int brightness, int contrastPercent);

}  // namespace vardolin::capture
