// The records the encoder's stages share: quantization and Huffman tables and
// the components with their quantized coefficients.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "encoder/CoefficientStore.h"

namespace vardolin {

struct QuantizationTable {
    std::array<int16_t, 64> Qk{};   // quantizer values, zigzag order
    std::array<float, 64> Scale{};  // AanScale[u] * AanScale[v] / Qk, zigzag order
};

// Huffman tables in the form the file carries (Bits, HuffVal) and in the form
// the coder uses (CodeMask, Code).
struct HuffmanTable {
    std::array<uint8_t, 16> Bits{};       // Bits[k]: number of codes of length k + 1
    std::array<uint8_t, 256> HuffVal{};   // symbols by increasing code length
    std::array<int32_t, 256> CodeMask{};  // 2^(L-1) for a code of length L, 0 for none
    std::array<int32_t, 256> Code{};      // right-aligned code, -1 for none
};

// Symbol counts for one table; index 256 is the reserved code point.
using SymbolCounts = std::array<int32_t, 257>;

struct Component {
    int32_t Id = 0;  // 1 = Y, 2 = Cb, 3 = Cr
    int32_t H = 0;
    int32_t V = 0;
    int32_t QuantTableIndex = 0;
    CoefficientStore Coefficients;  // 64 per block, zigzag, blocks in raster order
};

}  // namespace vardolin
