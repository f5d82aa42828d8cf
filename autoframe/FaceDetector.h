// Finding frontal faces in a still photo: a trained cascade of LBP stumps
// slid over a pyramid of the picture, its hits grouped into faces. All
// arithmetic is integer, so a picture gives the same faces on every build.
#pragma once

#include "autoframe/FaceBox.h"
#include "autoframe/GreyPicture.h"

#include <optional>
#include <span>
#include <vector>

namespace vardolin::autoframe {

// Hits a group needs to count as a face.
inline constexpr int kMinNeighbours = 3;

// The faces in the picture, largest first; none in a picture that is not
// Valid() or is smaller than the cascade's window (45 x 45 pixels), which is
// also the smallest face found.
std::vector<FaceBox> FindFaces(const GreyPicture& picture, int minNeighbours = kMinNeighbours);

// The face with the largest area (the one with more neighbours, then the
// first, when areas tie); none for no faces.
std::optional<FaceBox> LargestFace(std::span<const FaceBox> faces);

}  // namespace vardolin::autoframe
