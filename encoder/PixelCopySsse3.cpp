// Swaps red and blue five pixels at a time with one byte shuffle.
#include <immintrin.h>

#include "encoder/BlockTransform.h"
#include "encoder/PixelCopy.h"

#if VARDOLIN_AVX_KERNELS
#pragma GCC target("ssse3")

namespace vardolin {

void CopySwappingRedAndBlueSsse3(const uint8_t* rgb, uint8_t* bgr, size_t pixels) {
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    size_t done = 0;
    // Each step reads and writes 16 bytes: five pixels and the first byte of
    // the sixth, which the next step (or the tail) writes properly.
    for (; done + 6 <= pixels; done += 5) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rgb + 3 * done));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr + 3 * done), _mm_shuffle_epi8(in, swap));
    }
    for (; done < pixels; ++done) {
        const uint8_t* in = rgb + 3 * done;
        uint8_t* out = bgr + 3 * done;
        out[0] = in[2], out[1] = in[1], out[2] = in[0];
    }
}

}  // namespace vardolin
#endif
