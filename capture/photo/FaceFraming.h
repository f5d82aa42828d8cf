// Placing the crop frame on the face in a new still: the largest face the
// detector finds in the picture the still-photo box shows.
#pragma once

#include "capture/BitmapFile.h"
#include "autoframe/FaceBox.h"
#include "autoframe/FramePlacement.h"
#include "capture/photo/PhotoParts.h"

#include <windows.h>

#include <optional>

namespace vardolin::capture {

// The largest face the detector finds in a bottom-up 24-bit picture.
std::optional<autoframe::FaceBox> LargestFaceIn(const BitmapPixels& picture);

// The frame's place for the largest face in picture, which the box shows from
// its top-left corner in an inner area of inner pixels, kept inside that area
// as a drag keeps it; nothing when no face is found.
std::optional<autoframe::FramePlacement> FramingOfLargestFace(const BitmapPixels& picture, SIZE frame, SIZE inner);

// After a new still: the hint label says again what to do with it, and with
// the user's option on the frame goes onto the largest face and the crop is
// taken there; a head the frame cannot hold makes the label ask the person
// to step back. Without the option or a face the frame stays where it was.
void FrameFaceInNewStill(const PhotoParts& photo);

}  // namespace vardolin::capture
