// Grouping the cascade's hits: a face gives many overlapping hits at nearby
// positions and scales, a stray pattern only a few.
#pragma once

#include "autoframe/FaceBox.h"

#include <span>
#include <vector>

namespace vardolin::autoframe {

// Hits are grouped when each edge of one lies within a fifth of their
// (smaller) size from the same edge of the other, and chains of such pairs
// form one group. Each group of at least minNeighbours hits becomes the
// average of its hits; a group that lies inside another group with at least
// as many hits is dropped. Largest first (then top, then left).
std::vector<FaceBox> GroupHits(std::span<const Hit> hits, int minNeighbours);

}  // namespace vardolin::autoframe
