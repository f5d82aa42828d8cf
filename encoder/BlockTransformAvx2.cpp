// The block-row kernel with four double lanes, for processors with AVX2.
#include <immintrin.h>

#include "BlockTransform.h"

#if VARDOLIN_AVX_KERNELS
#pragma GCC target("avx2")

#include "BlockTransformKernel.inl"
#include "PixelShuffles.h"

namespace vardolin {
namespace {

template <>
struct FloatRounding<4> {
    using D = Lanes<4>::D;
    VARDOLIN_INLINE static D Stored(D x) { return D(_mm256_cvtps_pd(_mm256_cvtpd_ps(x))); }
};

template <>
struct PixelLoader<4> {
    using D = Lanes<4>::D;
    using I = Lanes<4>::I;
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

bool TransformBlockRowAvx2(const BlockRowJob& job) { return TransformBlockRow<4, 1>(job); }

}  // namespace vardolin
#endif
