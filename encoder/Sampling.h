// Taking the picture: once per distinct component size, into the platform's
// off-screen canvas or, for a source with rows, band by band into a strip;
// then each component converted, transformed and quantized into its store.
#pragma once

#include <cstdint>

#include "encoder/BlockTransform.h"
#include "encoder/EncoderState.h"
#include "encoder/PictureSource.h"

namespace vardolin {

// Status 0 when the picture was taken, 1 when the source could not make its
// canvas. Sets the picture's size and every component's identifier and
// coefficients; on an error no coefficients remain.
int32_t SamplePicture(EncoderState& state, BlockRowKernel kernel, PictureSource& source, int32_t lWidth,
                      int32_t lHeight, int32_t lSrcLeft, int32_t lSrcTop);

}  // namespace vardolin
