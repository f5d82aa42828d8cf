// The block-row kernel with eight float and four double lanes, for processors
// with AVX2: a block row of pixels is one float vector.
#include <immintrin.h>

#include "encoder/BlockTransform.h"

#if VARDOLIN_AVX_KERNELS
#pragma GCC target("avx2")

#include "BlockTransformKernel.inl"
#include "encoder/PixelShuffles.h"

namespace vardolin {
namespace {

template <>
struct Widths<8, 4> {
    using L = Lanes<8, 4>;
    VARDOLIN_INLINE static L::D Widen(L::F f, int piece) {
        const __m128 half = piece == 0 ? _mm256_castps256_ps128(__m256(f)) : _mm256_extractf128_ps(__m256(f), 1);
        return L::D(_mm256_cvtps_pd(half));
    }
    VARDOLIN_INLINE static L::F Narrow(const L::D* pieces) {
        return L::F(_mm256_set_m128(_mm256_cvtpd_ps(__m256d(pieces[1])), _mm256_cvtpd_ps(__m256d(pieces[0]))));
    }
    VARDOLIN_INLINE static L::D StoredAsFloat(L::D d) { return L::D(_mm256_cvtps_pd(_mm256_cvtpd_ps(__m256d(d)))); }
    // Rounds as the processor is set to, to nearest with halves to even
    // unless changed; out-of-range values become INT32_MIN.
    VARDOLIN_INLINE static L::I Nearest(L::D d) { return L::I(_mm256_cvtpd_epi32(__m256d(d))); }
};

template <>
struct PixelLoader<4> {
    using D = Lanes<8, 4>::D;
    using I = Lanes<8, 4>::I;
    // Four bytes from the start of a channel as doubles.
    VARDOLIN_INLINE static D Widen(__m128i bytes) { return __builtin_convertvector(I(_mm_cvtepu8_epi32(bytes)), D); }
    VARDOLIN_INLINE static void Load(const uint8_t* pixels, D* blue, D* green, D* red) {
        const SplitPixels split = SplitEightPixels(pixels);
        blue[0] = Widen(split.blueGreen);
        blue[1] = Widen(_mm_srli_si128(split.blueGreen, 4));
        green[0] = Widen(_mm_srli_si128(split.blueGreen, 8));
        green[1] = Widen(_mm_srli_si128(split.blueGreen, 12));
        red[0] = Widen(split.red);
        red[1] = Widen(_mm_srli_si128(split.red, 4));
    }
};

}  // namespace

bool TransformBlockRowAvx2(const BlockRowJob& job) { return TransformBlockRow<8, 4, 1>(job); }

}  // namespace vardolin
#endif
