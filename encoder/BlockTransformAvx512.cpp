// The block-row kernel with eight float and eight double lanes, for
// processors with AVX-512: a block row of pixels is one vector of either.
#include <immintrin.h>

#include "encoder/BlockTransform.h"

#if VARDOLIN_AVX_KERNELS
#pragma GCC target("avx512f,avx512bw")

#include "BlockTransformKernel.inl"
#include "encoder/PixelShuffles.h"

namespace vardolin {
namespace {

// The zero-masking forms: the plain ones trip a false uninitialised-value
// warning in GCC 12's headers. With every lane selected they are the same.
template <>
struct Widths<8, 8> {
    using L = Lanes<8, 8>;
    VARDOLIN_INLINE static L::D Widen(L::F f, int) { return L::D(_mm512_maskz_cvtps_pd(0xFF, __m256(f))); }
    VARDOLIN_INLINE static L::F Narrow(const L::D* pieces) {
        return L::F(_mm512_maskz_cvtpd_ps(0xFF, __m512d(pieces[0])));
    }
    VARDOLIN_INLINE static L::D StoredAsFloat(L::D d) {
        return L::D(_mm512_maskz_cvtps_pd(0xFF, _mm512_maskz_cvtpd_ps(0xFF, __m512d(d))));
    }
    // Rounds as the processor is set to, to nearest with halves to even
    // unless changed; out-of-range values become INT32_MIN.
    VARDOLIN_INLINE static L::I Nearest(L::D d) { return L::I(_mm512_maskz_cvtpd_epi32(0xFF, __m512d(d))); }
};

template <>
struct PixelLoader<8> {
    using D = Lanes<8, 8>::D;
    using I = Lanes<8, 8>::I;
    // Eight bytes from the start of a channel as doubles.
    VARDOLIN_INLINE static D Widen(__m128i bytes) {
        return D(_mm512_maskz_cvtepi32_pd(0xFF, _mm256_cvtepu8_epi32(bytes)));
    }
    VARDOLIN_INLINE static void Load(const uint8_t* pixels, D* blue, D* green, D* red) {
        const SplitPixels split = SplitEightPixels(pixels);
        blue[0] = Widen(split.blueGreen);
        green[0] = Widen(_mm_srli_si128(split.blueGreen, 8));
        red[0] = Widen(split.red);
    }
};

struct WordIndex {
    alignas(64) int16_t index[64];
};

consteval WordIndex MakeWordIndex() {
    WordIndex table{};
    for (int z = 0; z < 64; ++z) table.index[z] = kZigZagFromColumnMajor.from[z];
    return table;
}

constexpr WordIndex kZigZagWords = MakeWordIndex();

// Narrows the 64 values to 16 bits and reorders them with two word permutes
// over both halves of the block.
template <>
struct ZigZagWriter<8> {
    using I = Lanes<8, 8>::I;
    typedef int32_t I16 __attribute__((vector_size(64)));
    typedef int16_t W16 __attribute__((vector_size(32)));
    typedef int16_t W32 __attribute__((vector_size(64)));
    VARDOLIN_INLINE static W16 Narrow(I first, I second) {
        const I16 both = __builtin_shufflevector(first, second, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        return W16(_mm512_maskz_cvtepi32_epi16(0xFFFF, __m512i(both)));
    }
    VARDOLIN_INLINE static W32 Join(W16 first, W16 second) {
        return __builtin_shufflevector(first, second, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                       19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    }
    VARDOLIN_INLINE static void Write(const I (*whole)[1], int16_t* out) {
        const __m512i low = __m512i(Join(Narrow(whole[0][0], whole[1][0]), Narrow(whole[2][0], whole[3][0])));
        const __m512i high = __m512i(Join(Narrow(whole[4][0], whole[5][0]), Narrow(whole[6][0], whole[7][0])));
        const __m512i firstIndex = _mm512_load_si512(kZigZagWords.index);
        const __m512i secondIndex = _mm512_load_si512(kZigZagWords.index + 32);
        _mm512_storeu_si512(out, _mm512_permutex2var_epi16(low, firstIndex, high));
        _mm512_storeu_si512(out + 32, _mm512_permutex2var_epi16(low, secondIndex, high));
    }
};

}  // namespace

bool TransformBlockRowAvx512(const BlockRowJob& job) { return TransformBlockRow<8, 8, 2>(job); }

}  // namespace vardolin
#endif
