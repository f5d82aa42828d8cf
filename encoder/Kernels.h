// The implementation of each encoder path, as one table of functions: an
// encoder picks its table once, when its path is set, and its stages call
// through it without asking which path they are on.
#pragma once

#include "encoder/BlockTransform.h"
#include "encoder/EncoderPath.h"
#include "encoder/EncoderState.h"
#include "encoder/OutputStream.h"
#include "encoder/ScanWalker.h"

namespace vardolin {

// Writes the entropy-coded data of one scan.
using ScanDataWriter = void (*)(OutputStream& out, const EncoderState& state, const ScanLists& lists,
                                const ScanGroup& scan);

struct EncoderKernels {
    EncoderPath path;
    BlockRowKernel transformBlockRow;  // colour conversion, DCT and quantization
    ScanDataWriter writeScanData;
};

// The table of a path; nullptr for a path this program or processor lacks.
const EncoderKernels* KernelsFor(EncoderPath path);

// Makes the plain path available: the reference, which lives with the tests.
void InstallReferenceKernels(const EncoderKernels& plain);

}  // namespace vardolin
