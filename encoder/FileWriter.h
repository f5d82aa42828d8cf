// The whole JFIF file, assembled in memory: markers, the tables built for
// this picture, the scans.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/EncoderState.h"
#include "encoder/SingleByteConverter.h"

namespace vardolin {

struct EncoderKernels;

std::vector<uint8_t> WriteJpegFile(EncoderState& state, const EncoderKernels& kernels, const std::u16string& comment,
                                   const SingleByteConverter& toSingleByte);

}  // namespace vardolin
