// The ways the encoder can do its heavy stages. They all write the same
// bytes: the portable path transforms with the vector baseline of every
// build, the others with wider vectors. The plain path, one value and one bit
// at a time, is the reference the others are checked against; it is not part
// of the encoder and exists only in programs that install it.
#pragma once

#include <vector>

namespace vardolin {

enum class EncoderPath {
    Plain,
    Portable,  // two doubles per vector: SSE2 on x86, the baseline of every build
    Avx2,      // four doubles per vector
    Avx512,    // eight doubles per vector (AVX-512 F and BW)
};

// The paths this program and this processor can run, slowest first.
std::vector<EncoderPath> AvailableEncoderPaths();

// The fastest of them; what a new encoder uses.
EncoderPath FastestEncoderPath();

const char* EncoderPathName(EncoderPath path);

}  // namespace vardolin
