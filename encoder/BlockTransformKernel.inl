// The vectorised block-row transform, written once for L double lanes
// (2, 4 or 8) and compiled once per instruction set by the BlockTransform*.cpp
// files. Everything here has internal linkage, so that code built for one
// instruction set can never stand in for another's at link time; include
// nothing but freestanding headers ahead of it.
//
// A block is held as 8 rows of 8 / L vectors whose lanes are neighbouring
// columns, so the column pass works on whole vectors. A transposition then
// turns the columns into vectors for the row pass, whose results come out
// with the horizontal frequency u as the vector and the vertical frequency v
// as the lane. Each value is rounded to float exactly where the plain code
// stores one, so the lanes compute what the plain code computes.
#include <cstdint>

#include "BlockTransform.h"
#include "ZigZagOrder.h"

namespace vardolin {
namespace {

// The whole block is meant to stay in vector registers.
#define VARDOLIN_INLINE inline __attribute__((always_inline))

template <int L>
struct Lanes {
    static constexpr int kPerRow = 8 / L;
    typedef double D __attribute__((vector_size(8 * L)));
    typedef float F __attribute__((vector_size(4 * L)));
    typedef int32_t I __attribute__((vector_size(4 * L)));
};

template <class V>
inline V LoadVector(const void* from) {
    V v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}

// Rounds each lane to float and widens it back. Files for an instruction set
// whose compiler splits these conversions specialise this.
template <int L>
struct FloatRounding {
    using D = typename Lanes<L>::D;
    VARDOLIN_INLINE static D Stored(D x) { return __builtin_convertvector(__builtin_convertvector(x, typename Lanes<L>::F), D); }
};

template <int L>
VARDOLIN_INLINE typename Lanes<L>::D StoredAsFloat(typename Lanes<L>::D x) {
    return FloatRounding<L>::Stored(x);
}

// Blue, green and red of 8 pixels as 8 / L vectors each. Files for an
// instruction set with byte shuffles specialise this.
template <int L>
struct PixelLoader {
    using D = typename Lanes<L>::D;
    VARDOLIN_INLINE static void Load(const uint8_t* pixels, D* blue, D* green, D* red) {
        for (int h = 0; h < Lanes<L>::kPerRow; ++h) {
            D b = {}, g = {}, r = {};
            for (int lane = 0; lane < L; ++lane) {
                const uint8_t* p = pixels + 3 * (h * L + lane);
                b[lane] = p[0];
                g[lane] = p[1];
                r[lane] = p[2];
            }
            blue[h] = b;
            green[h] = g;
            red[h] = r;
        }
    }
};

template <int L>
VARDOLIN_INLINE void ConvertRow(const uint8_t* pixels, const ColourFactors& colour, typename Lanes<L>::D* row) {
    using D = typename Lanes<L>::D;
    D blue[Lanes<L>::kPerRow], green[Lanes<L>::kPerRow], red[Lanes<L>::kPerRow];
    PixelLoader<L>::Load(pixels, blue, green, red);
    for (int h = 0; h < Lanes<L>::kPerRow; ++h)
        row[h] = StoredAsFloat<L>(((red[h] * colour.r + green[h] * colour.g) + blue[h] * colour.b) +
                                  colour.offset);
}

// One 1-D pass over eight vectors reached through a stride (see ForwardDCT.cpp).
template <int L>
VARDOLIN_INLINE void Pass(typename Lanes<L>::D* d, int stride) {
    using D = typename Lanes<L>::D;
    constexpr double c4 = 0.707106781186548;
    constexpr double c6s = 0.382683432365091;
    constexpr double c2m6 = 0.541196100146196;
    constexpr double c2p6 = 1.30656296487638;
    D (*const F)(D) = StoredAsFloat<L>;

    const D d0 = d[0], d1 = d[stride], d2 = d[2 * stride], d3 = d[3 * stride];
    const D d4 = d[4 * stride], d5 = d[5 * stride], d6 = d[6 * stride], d7 = d[7 * stride];

    const D t0 = F(d0 + d7), t7 = F(d0 - d7);
    const D t1 = F(d1 + d6), t6 = F(d1 - d6);
    const D t2 = F(d2 + d5), t5 = F(d2 - d5);
    const D t3 = F(d3 + d4), t4 = F(d3 - d4);

    const D p = F(t5 + t4);
    const D e13 = F(t0 - t3);
    const D e10 = F(t0 + t3);
    const D e11 = F(t2 + t1);

    const D z1 = F(((t1 - t2) + e13) * c4);
    const D q = F(t6 + t7);
    const D z3 = F((t5 + t6) * c4);
    const D z5 = F((q - p) * c6s);
    const D z2 = F(p * c2m6 - z5);
    const D z4 = F(q * c2p6 - z5);
    const D z11 = F(z3 + t7);
    const D z13 = F(t7 - z3);

    d[0] = F(e10 + e11);
    d[4 * stride] = F(e10 - e11);
    d[stride] = F(z11 + z4);
    d[7 * stride] = F(z11 - z4);
    d[2 * stride] = F(e13 + z1);
    d[6 * stride] = F(e13 - z1);
    d[5 * stride] = F(z2 + z13);
    d[3 * stride] = F(z13 - z2);
}

// Transposes an L x L tile held as L vectors.
template <int L>
struct Tile;

template <>
struct Tile<2> {
    using D = Lanes<2>::D;
    typedef int64_t M __attribute__((vector_size(16)));
    VARDOLIN_INLINE static void Transpose(D* v) {
        const D a = v[0], b = v[1];
        v[0] = __builtin_shuffle(a, b, M{0, 2});
        v[1] = __builtin_shuffle(a, b, M{1, 3});
    }
};

template <>
struct Tile<4> {
    using D = Lanes<4>::D;
    typedef int64_t M __attribute__((vector_size(32)));
    VARDOLIN_INLINE static void Transpose(D* v) {
        const D a0 = __builtin_shuffle(v[0], v[1], M{0, 4, 2, 6});
        const D a1 = __builtin_shuffle(v[0], v[1], M{1, 5, 3, 7});
        const D a2 = __builtin_shuffle(v[2], v[3], M{0, 4, 2, 6});
        const D a3 = __builtin_shuffle(v[2], v[3], M{1, 5, 3, 7});
        v[0] = __builtin_shuffle(a0, a2, M{0, 1, 4, 5});
        v[1] = __builtin_shuffle(a1, a3, M{0, 1, 4, 5});
        v[2] = __builtin_shuffle(a0, a2, M{2, 3, 6, 7});
        v[3] = __builtin_shuffle(a1, a3, M{2, 3, 6, 7});
    }
};

template <>
struct Tile<8> {
    using D = Lanes<8>::D;
    typedef int64_t M __attribute__((vector_size(64)));
    VARDOLIN_INLINE static void Transpose(D* v) {
        D s[8], t[8];
        for (int i = 0; i < 8; i += 2) {
            s[i] = __builtin_shuffle(v[i], v[i + 1], M{0, 8, 2, 10, 4, 12, 6, 14});
            s[i + 1] = __builtin_shuffle(v[i], v[i + 1], M{1, 9, 3, 11, 5, 13, 7, 15});
        }
        constexpr int kPairs[4] = {0, 1, 4, 5};
        for (int i : kPairs) {
            t[i] = __builtin_shuffle(s[i], s[i + 2], M{0, 1, 8, 9, 4, 5, 12, 13});
            t[i + 2] = __builtin_shuffle(s[i], s[i + 2], M{2, 3, 10, 11, 6, 7, 14, 15});
        }
        for (int i = 0; i < 4; ++i) {
            v[i] = __builtin_shuffle(t[i], t[i + 4], M{0, 1, 2, 3, 8, 9, 10, 11});
            v[i + 4] = __builtin_shuffle(t[i], t[i + 4], M{4, 5, 6, 7, 12, 13, 14, 15});
        }
    }
};

template <int L>
VARDOLIN_INLINE void TransposeBlock(typename Lanes<L>::D (*rows)[Lanes<L>::kPerRow],
                           typename Lanes<L>::D (*columns)[Lanes<L>::kPerRow]) {
    constexpr int N = Lanes<L>::kPerRow;
    for (int ti = 0; ti < N; ++ti)
        for (int tj = 0; tj < N; ++tj) {
            typename Lanes<L>::D tile[L];
            for (int k = 0; k < L; ++k) tile[k] = rows[ti * L + k][tj];
            Tile<L>::Transpose(tile);
            for (int k = 0; k < L; ++k) columns[tj * L + k][ti] = tile[k];
        }
}

// Writes a quantized block, held column by column (u as the vector index,
// v across the lanes), in zigzag order. Files for an instruction set with
// word permutes specialise this.
template <int L>
struct ZigZagWriter {
    using I = typename Lanes<L>::I;
    VARDOLIN_INLINE static void Write(const I (*whole)[Lanes<L>::kPerRow], int16_t* out) {
        int32_t values[64];
        __builtin_memcpy(values, whole, sizeof values);
        for (int z = 0; z < 64; ++z) out[z] = static_cast<int16_t>(values[kZigZagFromColumnMajor.from[z]]);
    }
};

// Multiplies, rounds to the nearest integer with halves to even (adding and
// taking away 1.5 * 2^52 leaves exactly that rounding in double precision)
// and writes the block. lowest and highest collect the rounded values for
// the range test.
template <int L>
VARDOLIN_INLINE void Quantize(typename Lanes<L>::D (*columns)[Lanes<L>::kPerRow], const double* scaleByColumn,
                              int16_t* out, typename Lanes<L>::D& lowest, typename Lanes<L>::D& highest) {
    using D = typename Lanes<L>::D;
    using I = typename Lanes<L>::I;
    constexpr double kRounder = 6755399441055744.0;
    I whole[8][Lanes<L>::kPerRow];
    for (int u = 0; u < 8; ++u)
        for (int h = 0; h < Lanes<L>::kPerRow; ++h) {
            const D scaled = columns[u][h] * LoadVector<D>(scaleByColumn + u * 8 + h * L);
            const D rounded = (scaled + kRounder) - kRounder;
            lowest = rounded < lowest ? rounded : lowest;
            highest = rounded > highest ? rounded : highest;
            whole[u][h] = __builtin_convertvector(rounded, I);
        }
    ZigZagWriter<L>::Write(whole, out);
}

// G neighbouring blocks at once: their dependency chains are independent, so
// the processor can overlap them.
template <int L, int G>
VARDOLIN_INLINE void TransformBlocks(const BlockRowJob& job, int32_t first, typename Lanes<L>::D& lowest,
                                     typename Lanes<L>::D& highest) {
    using D = typename Lanes<L>::D;
    constexpr int N = Lanes<L>::kPerRow;
    D rows[G][8][N], columns[G][8][N];
    for (int g = 0; g < G; ++g) {
        const int64_t x = 24 * int64_t(first + g);
        for (int r = 0; r < 8; ++r) ConvertRow<L>(job.rows[r] + x, *job.colour, rows[g][r]);
    }
    for (int g = 0; g < G; ++g)
        for (int h = 0; h < N; ++h) Pass<L>(&rows[g][0][h], N);
    for (int g = 0; g < G; ++g) TransposeBlock<L>(rows[g], columns[g]);
    for (int g = 0; g < G; ++g)
        for (int h = 0; h < N; ++h) Pass<L>(&columns[g][0][h], N);
    for (int g = 0; g < G; ++g)
        Quantize<L>(columns[g], job.scaleByColumn, job.out + 64 * int64_t(first + g), lowest, highest);
}

template <int L, int G>
bool TransformBlockRow(const BlockRowJob& job) {
    using D = typename Lanes<L>::D;
    D lowest = D{}, highest = D{};
    int32_t block = 0;
    for (; block + G <= job.blocks; block += G) TransformBlocks<L, G>(job, block, lowest, highest);
    for (; block < job.blocks; ++block) TransformBlocks<L, 1>(job, block, lowest, highest);
    for (int lane = 0; lane < L; ++lane)
        if (lowest[lane] < -32768.0 || highest[lane] > 32767.0) return false;
    return true;
}

}  // namespace
}  // namespace vardolin
