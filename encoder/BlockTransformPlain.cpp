// The plain block-row kernel: one pixel, one value and one coefficient at a
// time, in the order the arithmetic is defined. The reference for the others.
#include <cmath>

#include "BlockTransform.h"
#include "ZigZagOrder.h"

namespace vardolin {

namespace {

bool TransformComponent(const BlockRowJob& job, const ComponentRow& component) {
    const ColourFactors& colour = *component.colour;
    for (int32_t blockColumn = 0; blockColumn < job.blocks; ++blockColumn) {
        float block[8][8];
        for (int r = 0; r < 8; ++r) {
            const uint8_t* pixel = job.rows[r] + 24 * int64_t(blockColumn);
            for (int c = 0; c < 8; ++c, pixel += 3) {
                double value = (static_cast<double>(pixel[2]) * colour.r + static_cast<double>(pixel[1]) * colour.g) +
                               static_cast<double>(pixel[0]) * colour.b;
                block[r][c] = static_cast<float>(value + colour.offset);
            }
        }
        ForwardDctInPlace(block);
        int16_t* out = component.out + 64 * int64_t(blockColumn);
        for (int v = 0; v < 8; ++v) {
            for (int u = 0; u < 8; ++u) {
                if (component.transformed)
                    component.transformed[64 * int64_t(blockColumn) + u * 8 + v] = block[v][u];
                const double value =
                    std::nearbyint(static_cast<double>(block[v][u]) * component.scaleByColumn[u * 8 + v]);
                if (value < -32768.0 || value > 32767.0) return false;
                out[kZigZag.at[v][u]] = static_cast<int16_t>(value);
            }
        }
    }
    return true;
}

}  // namespace

bool TransformBlockRowPlain(const BlockRowJob& job) {
    for (int32_t i = 0; i < job.count; ++i)
        if (!TransformComponent(job, job.components[i])) return false;
    return true;
}

}  // namespace vardolin
