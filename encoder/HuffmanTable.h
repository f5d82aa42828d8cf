// The two operations between symbol statistics and a Huffman table: optimal
// code lengths, and the canonical codes of a table.
#pragma once

#include <cstdint>

#include "encoder/EncoderRecords.h"

namespace vardolin {

// Code lengths from the counts (limited to 16 bits, one code point kept
// free), into Bits and HuffVal. Leaves every count at 0.
void BuildOptimalHuffmanTable(HuffmanTable& table, SymbolCounts& frequencies);

// Validates Bits and HuffVal and assigns the canonical codes. Raises error 1
// "错误霍夫曼码表" for an inconsistent table or a symbol above largestSymbol.
void ExpandHuffmanTable(HuffmanTable& table, int32_t largestSymbol);

}  // namespace vardolin
