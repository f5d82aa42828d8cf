// Where the crop frame goes in a new still: on the largest face the detector
// finds in the picture the still-photo box shows.
#pragma once

#include "FramePlacement.h"

#include <windows.h>

#include <optional>

namespace vardolin::capture {

// The frame's place for the largest face in picture, which the box shows from
// its top-left corner in an inner area of inner pixels, kept inside that area
// as a drag keeps it; nothing when no face is found.
std::optional<autoframe::FramePlacement> FramingOfLargestFace(HBITMAP picture, SIZE frame, SIZE inner);

}  // namespace vardolin::capture
