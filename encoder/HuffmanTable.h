// Huffman tables in the form the file carries (Bits, HuffVal) and in the form
// the coder uses (CodeMask, Code), and the two operations between statistics
// and those forms.
#pragma once

#include <array>
#include <cstdint>

namespace vardolin {

struct HuffmanTable {
    std::array<uint8_t, 16> Bits{};      // Bits[k]: number of codes of length k + 1
    std::array<uint8_t, 256> HuffVal{};  // symbols by increasing code length
    std::array<int32_t, 256> CodeMask{}; // 2^(L-1) for a code of length L, 0 for none
    std::array<int32_t, 256> Code{};     // right-aligned code, -1 for none
};

// Symbol counts for one table; index 256 is the reserved code point.
using SymbolCounts = std::array<int32_t, 257>;

// Code lengths from the counts (limited to 16 bits, one code point kept
// free), into Bits and HuffVal. Leaves every count at 0.
void BuildOptimalHuffmanTable(HuffmanTable& table, SymbolCounts& frequencies);

// Validates Bits and HuffVal and assigns the canonical codes. Raises error 1
// "错误霍夫曼码表" for an inconsistent table or a symbol above largestSymbol.
void ExpandHuffmanTable(HuffmanTable& table, int32_t largestSymbol);

}  // namespace vardolin
