// Huffman tables optimised for the picture: the scans are walked once with a
// counting sink, then each table that a list position selects is built from
// the counts.
#pragma once

#include <cstdint>

#include "encoder/EncoderState.h"
#include "encoder/ScanWalker.h"

namespace vardolin {

// Builds the DC and AC tables that list positions first..last select and
// returns an estimate of the coded size of their scans in bytes.
int32_t OptimizeHuffmanTables(EncoderState& state, const ScanLists& lists, int32_t first, int32_t last);

}  // namespace vardolin
