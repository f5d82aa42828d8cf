// Colour conversion, DCT and quantization of the sampled pixels, block row
// by block row through the encoder's kernel, into the components' stores.
#pragma once

#include <cstdint>
#include <functional>

#include "encoder/BlockTransform.h"
#include "encoder/EncoderState.h"

namespace vardolin {

// Sets the 8 pixel rows (top first) of a block row of the area being sampled.
using BlockRowSource = std::function<void(int32_t blockRow, const uint8_t** rows)>;

// Components first..end - 1 read the same pixels: each gets its Y, Cb or Cr
// conversion and its quantization table.
void TransformComponents(EncoderState& state, BlockRowKernel kernel, int32_t first, int32_t end, int32_t blocksPerRow,
                         int32_t blockRows, const BlockRowSource& rowsOf);

}  // namespace vardolin
