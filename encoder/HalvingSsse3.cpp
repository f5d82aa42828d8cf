// Halves eight destination pixels at a time: the two rows are added in 16-bit
// lanes, each value is added to the value three lanes on (the same channel of
// the next pixel), and byte shuffles keep the first pixel of every pair.
#include <immintrin.h>

#include "encoder/BlockTransform.h"
#include "encoder/Halving.h"

#if VARDOLIN_AVX_KERNELS
#pragma GCC target("ssse3")

namespace vardolin {

namespace {

// Byte j of the 48 summed bytes goes to destination byte 3 * (j / 6) + j % 6
// when j % 6 < 3; -1 marks destination bytes another part fills.
__m128i Gather(int part, int firstDestination) {
    alignas(16) int8_t mask[16];
    for (int d = 0; d < 16; ++d) {
        const int o = firstDestination + d;
        const int j = 6 * (o / 3) + o % 3;
        mask[d] = static_cast<int8_t>(j / 16 == part ? j % 16 : -1);
    }
    return _mm_load_si128(reinterpret_cast<const __m128i*>(mask));
}

}  // namespace

void HalveRowsSsse3(const uint8_t* top, const uint8_t* bottom, uint8_t* out, size_t pixels) {
    const __m128i zero = _mm_setzero_si128(), two = _mm_set1_epi16(2);
    const __m128i low0 = Gather(0, 0), low1 = Gather(1, 0), high1 = Gather(1, 16), high2 = Gather(2, 16);
    size_t done = 0;
    for (; done + 8 <= pixels; done += 8, top += 48, bottom += 48, out += 24) {
        __m128i sums[7];
        for (int k = 0; k < 3; ++k) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + 16 * k));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + 16 * k));
            sums[2 * k] = _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
            sums[2 * k + 1] = _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
        }
        sums[6] = zero;  // only reaches lanes that are not kept
        __m128i means[6];
        for (int i = 0; i < 6; ++i) {
            const __m128i next = _mm_alignr_epi8(sums[i + 1], sums[i], 6);  // three lanes on
            means[i] = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(sums[i], next), two), 2);
        }
        const __m128i bytes0 = _mm_packus_epi16(means[0], means[1]);
        const __m128i bytes1 = _mm_packus_epi16(means[2], means[3]);
        const __m128i bytes2 = _mm_packus_epi16(means[4], means[5]);
        const __m128i first = _mm_or_si128(_mm_shuffle_epi8(bytes0, low0), _mm_shuffle_epi8(bytes1, low1));
        const __m128i second = _mm_or_si128(_mm_shuffle_epi8(bytes1, high1), _mm_shuffle_epi8(bytes2, high2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), first);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), second);
    }
    HalveRowsPlain(top, bottom, out, pixels - done);
}

}  // namespace vardolin
#endif
