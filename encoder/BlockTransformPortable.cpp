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
};

}  // namespace
}  // namespace vardolin
#endif

namespace vardolin {

bool TransformBlockRowPortable(const BlockRowJob& job) { return TransformBlockRow<4, 2, 1>(job); }

}  // namespace vardolin
