// One block row of up to three components through colour conversion, forward
// DCT and quantization, in one kernel per instruction set. Every kernel
// computes each stored value in double precision and rounds it to float, so
// all of them give the same coefficients, value for value.
#pragma once

#include <cstdint>

// The AVX kernels are built for 64-bit x86 outside Windows: mingw-w64's
// compiler does not keep the 32-byte stack alignment their spills need. They
// rely on GCC's per-file target pragma, so clang builds (the fuzzer) use the
// portable kernel.
#if defined(__x86_64__) && !defined(_WIN32) && !defined(__clang__)
#define VARDOLIN_AVX_KERNELS 1
#else
#define VARDOLIN_AVX_KERNELS 0
#endif

namespace vardolin {

// Colour factors (the 32-bit float constants, widened) and level shift of a component.
struct ColourFactors {
    double r, g, b;
    double offset;
};

// What one component makes of the pixels.
struct ComponentRow {
    const ColourFactors* colour;
    const double* scaleByColumn;   // quantization multipliers, [u * 8 + v]
    int16_t* out;                  // blocks * 64 coefficients, zigzag order
    float* transformed = nullptr;  // when set, also each block's DCT output, [u * 8 + v] (for checks)
};

// A block row of up to three components that read the same pixels.
struct BlockRowJob {
    const uint8_t* rows[8];  // the block row's 8 pixel rows, top first, blue-green-red
    int32_t blocks;          // blocks from the left, 8 pixels wide each
    int32_t count;           // components, 1..3
    ComponentRow components[3];
};

// Returns false when a quantized value falls outside the 16-bit range; the
// coefficients written are then meaningless.
using BlockRowKernel = bool (*)(const BlockRowJob& job);

// The kernels of the product's paths, each in a file of its own.
bool TransformBlockRowPortable(const BlockRowJob& job);
bool TransformBlockRowAvx2(const BlockRowJob& job);
bool TransformBlockRowAvx512(const BlockRowJob& job);

}  // namespace vardolin
