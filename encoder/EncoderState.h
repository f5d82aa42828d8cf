// What the stages of one encoder share: the picture's geometry, the tables
// and the components. The settings fill it, SampleHDC adds the picture, the
// Huffman stage its tables, and the file writer reads all of it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "encoder/EncoderRecords.h"

namespace vardolin {

struct EncoderState {
    int32_t Precision = 0;  // bits per sample; 8 once a picture is taken
    int32_t ImageHeight = 0;
    int32_t ImageWidth = 0;
    int32_t ComponentCount = 0;  // 1 (grey) or 3 (Y, Cb, Cr)
    int32_t MaxHSampling = 0;
    int32_t MaxVSampling = 0;
    std::array<QuantizationTable, 4> QuantTables{};  // 0 luma, 1 chroma
    std::array<HuffmanTable, 4> DCHuffmanTables{};
    std::array<HuffmanTable, 4> ACHuffmanTables{};
    std::vector<Component> Components;
};

}  // namespace vardolin
