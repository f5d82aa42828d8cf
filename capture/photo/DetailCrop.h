// Photos larger than the designed 156 x 188: the block under the crop frame
// taken from the still's full detail rather than from the 320 x 240 still.
#pragma once

#include "capture/BitmapFile.h"

#include <windows.h>

#include <optional>

namespace vardolin::capture {

// The photo scale a still's detail really holds for the scale wanted: at most
// wanted, at most the times 320 x 240 the detail measures (never enlarged).
int ScaleHeldBy(const BitmapPixels& detail, int wanted);

// The crop (in the 320 x 240 still's pixels) taken from detail and
// area-averaged to exactly 156 x 188 times scale; nothing when the detail
// does not hold that scale.
std::optional<BitmapPixels> DetailedCrop(const BitmapPixels& detail, const RECT& crop, int scale);

}  // namespace vardolin::capture
