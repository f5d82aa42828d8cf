// Which of a block's 64 quantized values are not zero, as one bit each: the
// coder and the statistics jump from one nonzero value to the next instead of
// testing every value.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vardolin {

// Bit k is set when block[k] is not zero.
inline uint64_t NonzeroMask(const int16_t* block) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    uint64_t zeros = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i + 8));
        const __m128i packed = _mm_packs_epi16(_mm_cmpeq_epi16(low, zero), _mm_cmpeq_epi16(high, zero));
        zeros |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(packed))) << (16 * i);
    }
    return ~zeros;
#else
    uint64_t mask = 0;
    for (int k = 0; k < 64; ++k) mask |= static_cast<uint64_t>(block[k] != 0) << k;
    return mask;
#endif
}

// Calls visit(k, run) for each nonzero value k = 1..63 of the block, run
// being the number of zeros since the previous nonzero value (or the DC),
// and returns the index of the last nonzero value (0 when all are zero).
template <class Visit>
inline int32_t ForEachNonzeroAC(const int16_t* block, Visit&& visit) {
    uint64_t rest = NonzeroMask(block) >> 1;  // bit i: value i + 1
    int32_t k = 0;
    while (rest != 0) {
        const int32_t run = __builtin_ctzll(rest);
        rest = (rest >> run) >> 1;
        k += run + 1;
        visit(k, run);
    }
    return k;
}

}  // namespace vardolin
