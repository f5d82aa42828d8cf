// The ways the encoder can do its heavy stages. They all write the same
// bytes: the plain path is the straightforward scalar code, one coefficient
// and one bit at a time; the others transform several rows, columns or
// pixels per instruction and code through a word-sized bit buffer.
#pragma once

#include <vector>

namespace vardolin {

enum class EncoderPath {
    Plain,
    Portable,  // two doubles per vector: SSE2 on x86, the baseline of every build
    Avx2,      // four doubles per vector
    Avx512,    // eight doubles per vector (AVX-512 F and BW)
};

// The paths this build and this processor can run, Plain first.
std::vector<EncoderPath> AvailableEncoderPaths();

// The fastest of them; what a new encoder uses.
EncoderPath FastestEncoderPath();

const char* EncoderPathName(EncoderPath path);

}  // namespace vardolin
