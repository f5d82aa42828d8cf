// Splits 8 blue-green-red pixels (24 bytes) into their channels with byte
// shuffles. For the kernel files only, included after their target pragma.
#pragma once

namespace vardolin {
namespace {

struct SplitPixels {
    __m128i blueGreen;  // bytes 0..7 blue, 8..15 green
    __m128i red;        // bytes 0..7
};

inline SplitPixels SplitEightPixels(const uint8_t* pixels) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels + 16));
    const __m128i blueGreenLow = _mm_setr_epi8(0, 3, 6, 9, 12, 15, -1, -1, 1, 4, 7, 10, 13, -1, -1, -1);
    const __m128i blueGreenHigh = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, 2, 5, -1, -1, -1, -1, -1, 0, 3, 6);
    const __m128i redLow = _mm_setr_epi8(2, 5, 8, 11, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i redHigh = _mm_setr_epi8(-1, -1, -1, -1, -1, 1, 4, 7, -1, -1, -1, -1, -1, -1, -1, -1);
    return {_mm_or_si128(_mm_shuffle_epi8(low, blueGreenLow), _mm_shuffle_epi8(high, blueGreenHigh)),
            _mm_or_si128(_mm_shuffle_epi8(low, redLow), _mm_shuffle_epi8(high, redHigh))};
}

}  // namespace
}  // namespace vardolin
