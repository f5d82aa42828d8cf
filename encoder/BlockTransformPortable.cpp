// The block-row kernel with four float and two double lanes: SSE2 on x86, the
// baseline of every build (the Windows DLLs included).
#include "BlockTransformKernel.inl"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace vardolin {
namespace {

template <>
struct Widths<4, 2> {
    using L = Lanes<4, 2>;
    VARDOLIN_INLINE static L::D Widen(L::F f, int piece) {
        return L::D(_mm_cvtps_pd(piece == 0 ? __m128(f) : _mm_movehl_ps(__m128(f), __m128(f))));
    }
    VARDOLIN_INLINE static L::F Narrow(const L::D* pieces) {
        return L::F(_mm_movelh_ps(_mm_cvtpd_ps(__m128d(pieces[0])), _mm_cvtpd_ps(__m128d(pieces[1]))));
    }
    VARDOLIN_INLINE static L::D StoredAsFloat(L::D d) { return L::D(_mm_cvtps_pd(_mm_cvtpd_ps(__m128d(d)))); }
    // Rounds as the processor is set to, to nearest with halves to even
    // unless changed; out-of-range values become INT32_MIN.
    VARDOLIN_INLINE static L::I Nearest(L::D d) {
        L::I whole;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&whole), _mm_cvtpd_epi32(__m128d(d)));
        return whole;
    }
};

// Widens all 24 bytes to doubles, two at a time in memory order (blue and
// green of pixel 0, red of 0 and blue of 1, ...), and regroups them by channel.
template <>
struct PixelLoader<2> {
    using D = Lanes<2, 2>::D;
    // Doubles of the first two and of the last two of four 32-bit integers.
    VARDOLIN_INLINE static void Widen(__m128i words, __m128d* pair) {
        pair[0] = _mm_cvtepi32_pd(words);
        pair[1] = _mm_cvtepi32_pd(_mm_shuffle_epi32(words, 0xEE));
    }
    VARDOLIN_INLINE static void Load(const uint8_t* pixels, D* blue, D* green, D* red) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
        const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels + 16));
        const __m128i shorts[3] = {_mm_unpacklo_epi8(low, zero), _mm_unpackhi_epi8(low, zero),
                                   _mm_unpacklo_epi8(high, zero)};
        __m128d pairs[12];
        for (int i = 0; i < 3; ++i) {
            Widen(_mm_unpacklo_epi16(shorts[i], zero), pairs + 4 * i);
            Widen(_mm_unpackhi_epi16(shorts[i], zero), pairs + 4 * i + 2);
        }
        for (int h = 0; h < 4; ++h) {
            const __m128d* p = pairs + 3 * h;  // b g | r b | g r of pixels 2h and 2h + 1
            blue[h] = D(_mm_shuffle_pd(p[0], p[1], 0b10));
            green[h] = D(_mm_shuffle_pd(p[0], p[2], 0b01));
            red[h] = D(_mm_shuffle_pd(p[1], p[2], 0b10));
        }
    }
};

}  // namespace
}  // namespace vardolin
#endif

namespace vardolin {

bool TransformBlockRowPortable(const BlockRowJob& job) { return TransformBlockRow<4, 2, 1>(job); }

}  // namespace vardolin
