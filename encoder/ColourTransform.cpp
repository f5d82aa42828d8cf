#include "encoder/ColourTransform.h"

#include <vector>

#include "encoder/Quantization.h"

namespace vardolin {

namespace {

struct ColourRow {
    float r, g, b;
    double offset;
};

// Y, Cb, Cr; the factors are 32-bit floats on purpose: their float values
// are part of the output.
constexpr ColourRow kColourRows[3] = {
    {0.299f, 0.587f, 0.114f, -128.0},
    {-0.16874f, -0.33126f, 0.5f, 0.0},
    {0.5f, -0.41869f, -0.08131f, 0.0},
};

}  // namespace

void TransformComponents(EncoderState& state, BlockRowKernel kernel, int32_t first, int32_t end, int32_t blocksPerRow,
                         int32_t blockRows, const BlockRowSource& rowsOf) {
    struct Prepared {
        ColourFactors factors;
        alignas(64) double scaleByColumn[64];
    };
    Prepared prepared[3];
    BlockRowJob job{{}, blocksPerRow, end - first, {}};
    for (int32_t i = first; i < end; ++i) {
        Prepared& p = prepared[i - first];
        const ColourRow& colour = kColourRows[i];
        p.factors = {colour.r, colour.g, colour.b, colour.offset};
        ScaleByColumn(state.QuantTables[state.Components[i].QuantTableIndex], p.scaleByColumn);
        job.components[i - first].colour = &p.factors;
        job.components[i - first].scaleByColumn = p.scaleByColumn;
    }
    // One block row of each component at a time, handed to its store.
    std::vector<int16_t> transformed(static_cast<size_t>(blocksPerRow) * 64 * size_t(end - first));
    for (int32_t i = first; i < end; ++i)
        job.components[i - first].out = &transformed[static_cast<size_t>(blocksPerRow) * 64 * size_t(i - first)];
    for (int32_t blockRow = 0; blockRow < blockRows; ++blockRow) {
        rowsOf(blockRow, job.rows);
        if (!kernel(job)) throw ComponentError::Overflow();
        for (int32_t i = first; i < end; ++i)
            state.Components[i].Coefficients.AppendBlockRow(job.components[i - first].out);
    }
}

}  // namespace vardolin
