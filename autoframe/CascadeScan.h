// Sliding the cascade's window over one level of the picture pyramid.
#pragma once

#include "autoframe/CascadeTable.h"
#include "autoframe/FaceBox.h"
#include "autoframe/Pyramid.h"

#include <vector>

namespace vardolin::autoframe {

// Tries the window at every step-th position of a level of levelWidth x
// levelHeight pixels (integral its integral image), shrunk by scale from the
// original picture, and appends the windows that pass to hits, in the
// original picture's pixels.
void ScanLevel(const Cascade& cascade, const IntegralImage& integral, int levelWidth, int levelHeight, int scale,
               int step, std::vector<Hit>& hits);

}  // namespace vardolin::autoframe
