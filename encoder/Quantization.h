// Quantization: the base tables, their scaling by quality, and the
// multipliers that fold the DCT's output scale and the quantizer into one
// factor per coefficient.
#pragma once

#include <array>
#include <cstdint>

#include "encoder/EncoderRecords.h"
#include "encoder/ZigZagOrder.h"

namespace vardolin {

// The base luminance and chrominance tables, zigzag order.
extern const std::array<int16_t, 64> BaseLumaTable;
extern const std::array<int16_t, 64> BaseChromaTable;

// The forward DCT's output scale per frequency index.
extern const std::array<double, 8> AanScale;

// Tables 0 (luma) and 1 (chroma) for a quality of 1..100.
void BuildQuantTables(int32_t quality, std::array<QuantizationTable, 4>& tables);

// Validates Qk and recomputes Scale; raises error 1 "错误量子化表" at the
// first entry outside 1..255 (the entries before it are already scaled).
void ScaleQuantizationTable(QuantizationTable& table);

// The Scale values as doubles in the kernels' column order, [u * 8 + v].
void ScaleByColumn(const QuantizationTable& table, double (&scaleByColumn)[64]);

}  // namespace vardolin
