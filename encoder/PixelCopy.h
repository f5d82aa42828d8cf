// Copies a run of pixels from red-green-blue order (a MemoryPicture's) to
// blue-green-red order (the canvas's).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vardolin {

void CopySwappingRedAndBlue(const uint8_t* rgb, uint8_t* bgr, size_t pixels);

// The byte-shuffle version, for processors with SSSE3 (in a file of its own).
void CopySwappingRedAndBlueSsse3(const uint8_t* rgb, uint8_t* bgr, size_t pixels);

}  // namespace vardolin
