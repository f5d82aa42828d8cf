// Huffman coding of the quantized blocks into scans.
#pragma once

#include <cstdint>

#include "encoder/EncoderState.h"
#include "encoder/OutputStream.h"
#include "encoder/ScanWalker.h"

namespace vardolin {

struct EncoderKernels;

// The entropy-coded data of one scan, through the word-sized BitSink: the
// emitting sink of the scan walk.
void WriteScanData(OutputStream& out, const EncoderState& state, const ScanLists& lists, const ScanGroup& scan);

// Each scan of list positions first..last: its SOS segment, then its data.
void WriteScans(OutputStream& out, const EncoderState& state, const EncoderKernels& kernels, const ScanLists& lists,
                int32_t first, int32_t last);

}  // namespace vardolin
