#include "encoder/Quantization.h"

#include <algorithm>

#include "encoder/NumberedError.h"

namespace vardolin {

const std::array<int16_t, 64> BaseLumaTable = {
    16, 11,  12, 14, 12, 10, 16,  14,  13,  14, 18, 17,  16,  19,  24,  40,  26, 24,  22,  22, 24, 49,
    35, 37,  29, 40, 58, 51, 61,  60,  57,  51, 56, 55,  64,  72,  92,  78,  64, 68,  87,  69, 55, 56,
    80, 109, 81, 87, 95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};

const std::array<int16_t, 64> BaseChromaTable = {17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66, 99, 99,
                                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

const std::array<double, 8> AanScale = {0.353553390593273, 0.25489778955208,  0.270598050073098, 0.300672443467523,
                                        0.353553390593273, 0.449988111568207, 0.653281482438186, 1.28145772387074};

namespace {

// (base * scale + 50) / 100, rounded half to even and kept within 1..255.
void FillScaled(const std::array<int16_t, 64>& base, int32_t scale, QuantizationTable& table) {
    for (int z = 0; z < 64; ++z) {
        int32_t t = checked::Add(checked::Mul(base[z], scale), 50);
        int32_t q = checked::RoundToInt32(t / 100.0);
        table.Qk[z] = static_cast<int16_t>(std::clamp(q, 1, 255));
    }
}

}  // namespace

void BuildQuantTables(int32_t quality, std::array<QuantizationTable, 4>& tables) {
    int32_t scale = quality >= 50 ? 200 - 2 * quality : checked::RoundToInt32(5000.0 / quality);
    FillScaled(BaseLumaTable, scale, tables[0]);
    FillScaled(BaseChromaTable, scale, tables[1]);
    ScaleQuantizationTable(tables[0]);
    ScaleQuantizationTable(tables[1]);
}

void ScaleQuantizationTable(QuantizationTable& table) {
    for (int u = 0; u < 8; ++u) {
        for (int v = 0; v < 8; ++v) {
            int32_t z = ZigZag[v][u];
            if (table.Qk[z] < 1 || table.Qk[z] > 255)
                throw ComponentError(error_number::kInvalidValue, messages::kBadQuantTable);
            table.Scale[z] = static_cast<float>(AanScale[u] * AanScale[v] / table.Qk[z]);
        }
    }
}

void ScaleByColumn(const QuantizationTable& table, double (&scaleByColumn)[64]) {
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) scaleByColumn[u * 8 + v] = table.Scale[ZigZag[v][u]];
}

}  // namespace vardolin
