// The plain path: the straightforward kernel and coder, one value and one
// bit at a time, that the encoder's own paths must match byte for byte.
#pragma once

#include <cstdint>

#include "encoder/Kernels.h"

namespace vardolin::test {

// The forward DCT of the block in place, columns first, then rows.
void ForwardDCT(float (&WorkBlock)[8][8]);

// Quantizes a transformed block into out, zigzag order; false when a value
// falls outside the 16-bit range.
bool QuantizeBlock(const float (&WorkBlock)[8][8], const double* scaleByColumn, int16_t* out);

bool TransformBlockRowPlain(const BlockRowJob& job);

void WritePlainScanData(OutputStream& out, const EncoderState& state, const ScanLists& lists, const ScanGroup& scan);

// The plain path's kernels.
const EncoderKernels& PlainKernels();

// Makes EncoderPath::Plain available to every encoder of the program;
// returns true, so that a test file can do it while it is initialised.
bool InstallPlainPath();

}  // namespace vardolin::test
