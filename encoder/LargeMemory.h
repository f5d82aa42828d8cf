// Large, freshly allocated buffers (the canvas, the coefficients) are filled
// once from end to end. Backing them with large pages where the system offers
// them saves most of the page faults of that first pass.
#pragma once

#include <cstddef>

namespace vardolin {

// A hint only: does nothing where the system has no such pages, or when the
// range is too small to hold one.
void PreferLargePages(void* memory, size_t bytes);

}  // namespace vardolin
