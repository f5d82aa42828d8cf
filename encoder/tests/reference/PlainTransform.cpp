// The plain block-row kernel: one pixel, one value and one coefficient at a
// time, in the order the arithmetic is defined. The reference for the
// encoder's vectorised kernels.
#include <cmath>

#include "encoder/tests/reference/PlainPath.h"
#include "encoder/ZigZagOrder.h"

namespace vardolin::test {

namespace {

// Y, Cb or Cr of each pixel of the block, level-shifted.
void ConvertBlock(const BlockRowJob& job, int32_t blockColumn, const ColourFactors& colour, float (&WorkBlock)[8][8]) {
    for (int r = 0; r < 8; ++r) {
        const uint8_t* pixel = job.rows[r] + 24 * int64_t(blockColumn);
        for (int c = 0; c < 8; ++c, pixel += 3) {
            double value = (static_cast<double>(pixel[2]) * colour.r + static_cast<double>(pixel[1]) * colour.g) +
                           static_cast<double>(pixel[0]) * colour.b;
            WorkBlock[r][c] = static_cast<float>(value + colour.offset);
        }
    }
}

bool TransformComponent(const BlockRowJob& job, const ComponentRow& component) {
    for (int32_t blockColumn = 0; blockColumn < job.blocks; ++blockColumn) {
        float WorkBlock[8][8];
        ConvertBlock(job, blockColumn, *component.colour, WorkBlock);
        ForwardDCT(WorkBlock);
        if (component.transformed)
            for (int v = 0; v < 8; ++v)
                for (int u = 0; u < 8; ++u)
                    component.transformed[64 * int64_t(blockColumn) + u * 8 + v] = WorkBlock[v][u];
        if (!QuantizeBlock(WorkBlock, component.scaleByColumn, component.out + 64 * int64_t(blockColumn))) return false;
    }
    return true;
}

}  // namespace

bool QuantizeBlock(const float (&WorkBlock)[8][8], const double* scaleByColumn, int16_t* out) {
    for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
            const double value = std::nearbyint(static_cast<double>(WorkBlock[v][u]) * scaleByColumn[u * 8 + v]);
            if (value < -32768.0 || value > 32767.0) return false;
            out[ZigZag[v][u]] = static_cast<int16_t>(value);
        }
    }
    return true;
}

bool TransformBlockRowPlain(const BlockRowJob& job) {
    for (int32_t i = 0; i < job.count; ++i)
        if (!TransformComponent(job, job.components[i])) return false;
    return true;
}

}  // namespace vardolin::test
