// The vectorised block-row transform, written once for FL float lanes and DL
// double lanes per vector and compiled once per instruction set by the
// BlockTransform*.cpp files. Everything here has internal linkage, so that
// code built for one instruction set can never stand in for another's at
// link time; include nothing but freestanding headers ahead of it.
//
// A block is held as 8 rows of 8 / FL float vectors whose lanes are
// neighbouring columns, so the column pass works on whole vectors. A
// transposition then turns the columns into vectors for the row pass, whose
// results come out with the horizontal frequency u as the vector and the
// vertical frequency v as the lane.
//
// Where the plain code adds or subtracts two stored floats in double
// precision and rounds the result to float, the kernels add in float: double
// has more than twice float's precision plus two bits, so rounding the exact
// sum twice gives the same float as rounding it once. Products with the
// double constants, sums that are not rounded on the way, the colour
// conversion and the quantization stay in double precision, rounded to float
// exactly where the plain code stores a value.
#include <cstdint>

#include "encoder/BlockTransform.h"
#include "encoder/ZigZagOrder.h"

namespace vardolin {
namespace {

// The whole block is meant to stay in vector registers.
#define VARDOLIN_INLINE inline __attribute__((always_inline))

template <int FL, int DL>
struct Lanes {
    static constexpr int kPerRow = 8 / FL;   // float vectors per block row
    static constexpr int kPieces = FL / DL;  // double vectors per float vector
    typedef float F __attribute__((vector_size(4 * FL)));
    typedef double D __attribute__((vector_size(8 * DL)));
    typedef float FD __attribute__((vector_size(4 * DL)));  // the floats of one double vector
    typedef int32_t I __attribute__((vector_size(4 * DL)));
};

// One block row of float vectors; blocks are passed as pointers to these.
template <int FL, int DL>
using BlockRow = typename Lanes<FL, DL>::F[Lanes<FL, DL>::kPerRow];

template <class V>
VARDOLIN_INLINE V LoadVector(const void* from) {
    V v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}

// Between float vectors and their double pieces. Files for an instruction set
// whose compiler splits these conversions clumsily specialise this.
template <int FL, int DL>
struct Widths {
    using L = Lanes<FL, DL>;
    VARDOLIN_INLINE static typename L::D Widen(typename L::F f, int piece) {
        typename L::FD part;
        __builtin_memcpy(&part, reinterpret_cast<const float*>(&f) + piece * DL, sizeof part);
        return __builtin_convertvector(part, typename L::D);
    }
    VARDOLIN_INLINE static typename L::F Narrow(const typename L::D* pieces) {
        typename L::F f;
        for (int piece = 0; piece < L::kPieces; ++piece) {
            const typename L::FD part = __builtin_convertvector(pieces[piece], typename L::FD);
            __builtin_memcpy(reinterpret_cast<float*>(&f) + piece * DL, &part, sizeof part);
        }
        return f;
    }
    VARDOLIN_INLINE static typename L::D StoredAsFloat(typename L::D d) {
        return __builtin_convertvector(__builtin_convertvector(d, typename L::FD), typename L::D);
    }
    // The nearest integer in the current rounding mode (to nearest, halves to
    // even, unless changed), as std::nearbyint gives it; values outside the
    // 32-bit range become INT32_MIN, as the x86 conversions make them.
    VARDOLIN_INLINE static typename L::I Nearest(typename L::D d) {
        typename L::I whole;
        for (int lane = 0; lane < DL; ++lane) {
            const double rounded = __builtin_nearbyint(d[lane]);
            whole[lane] =
                rounded >= -2147483648.0 && rounded <= 2147483647.0 ? static_cast<int32_t>(rounded) : INT32_MIN;
        }
        return whole;
    }
};

// Blue, green and red of 8 pixels as 8 / DL double vectors each. Files for an
// instruction set with byte shuffles specialise this.
template <int DL>
struct PixelLoader {
    using D = typename Lanes<DL, DL>::D;
    VARDOLIN_INLINE static void Load(const uint8_t* pixels, D* blue, D* green, D* red) {
        for (int h = 0; h < 8 / DL; ++h) {
            D b = {}, g = {}, r = {};
            for (int lane = 0; lane < DL; ++lane) {
                const uint8_t* p = pixels + 3 * (h * DL + lane);
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

// The pixels of one block as doubles, loaded once for every component.
template <int DL>
struct BlockPixels {
    using D = typename Lanes<DL, DL>::D;
    D blue[8][8 / DL], green[8][8 / DL], red[8][8 / DL];

    VARDOLIN_INLINE void Load(const BlockRowJob& job, int32_t block) {
        const int64_t x = 24 * int64_t(block);
        for (int r = 0; r < 8; ++r) PixelLoader<DL>::Load(job.rows[r] + x, blue[r], green[r], red[r]);
    }
};

template <int FL, int DL>
VARDOLIN_INLINE void ConvertBlock(const BlockPixels<DL>& pixels, const ColourFactors& colour, BlockRow<FL, DL>* rows) {
    using L = Lanes<FL, DL>;
    for (int r = 0; r < 8; ++r)
        for (int h = 0; h < L::kPerRow; ++h) {
            typename L::D pieces[L::kPieces];
            for (int piece = 0; piece < L::kPieces; ++piece) {
                const int at = h * L::kPieces + piece;
                pieces[piece] =
                    ((pixels.red[r][at] * colour.r + pixels.green[r][at] * colour.g) + pixels.blue[r][at] * colour.b) +
                    colour.offset;
            }
            rows[r][h] = Widths<FL, DL>::Narrow(pieces);
        }
}

// Evaluates Formula on the double pieces of the inputs and rounds each
// result to float.
template <int FL, int DL, class Formula>
VARDOLIN_INLINE void InDouble(const typename Lanes<FL, DL>::F* inputs, typename Lanes<FL, DL>::F* results) {
    using L = Lanes<FL, DL>;
    typename L::D out[Formula::kResults][L::kPieces];
    for (int piece = 0; piece < L::kPieces; ++piece) {
        typename L::D in[Formula::kInputs];
        for (int i = 0; i < Formula::kInputs; ++i) in[i] = Widths<FL, DL>::Widen(inputs[i], piece);
        typename L::D values[Formula::kResults];
        Formula::Apply(in, values);
        for (int r = 0; r < Formula::kResults; ++r) out[r][piece] = values[r];
    }
    for (int r = 0; r < Formula::kResults; ++r) results[r] = Widths<FL, DL>::Narrow(out[r]);
}

constexpr double c4 = 0.707106781186548;
constexpr double c6s = 0.382683432365091;
constexpr double c2m6 = 0.541196100146196;
constexpr double c2p6 = 1.30656296487638;

// z1 from t1, t2 and e13.
struct Z1 {
    static constexpr int kInputs = 3, kResults = 1;
    template <class D>
    VARDOLIN_INLINE static void Apply(const D* in, D* out) {
        out[0] = ((in[0] - in[1]) + in[2]) * c4;
    }
};

// z3 from t5 and t6.
struct Z3 {
    static constexpr int kInputs = 2, kResults = 1;
    template <class D>
    VARDOLIN_INLINE static void Apply(const D* in, D* out) {
        out[0] = (in[0] + in[1]) * c4;
    }
};

// z5, z2 and z4 from p and q; z2 and z4 take the stored (rounded) z5.
template <int FL, int DL>
struct Z5Z2Z4 {
    static constexpr int kInputs = 2, kResults = 3;
    using D = typename Lanes<FL, DL>::D;
    VARDOLIN_INLINE static void Apply(const D* in, D* out) {
        const D z5 = (in[1] - in[0]) * c6s;
        const D stored = Widths<FL, DL>::StoredAsFloat(z5);
        out[0] = z5;
        out[1] = in[0] * c2m6 - stored;
        out[2] = in[1] * c2p6 - stored;
    }
};

// One 1-D pass over eight vectors reached through a stride (see ForwardDCT.cpp).
template <int FL, int DL>
VARDOLIN_INLINE void Pass(typename Lanes<FL, DL>::F* d, int stride) {
    using F = typename Lanes<FL, DL>::F;

    const F d0 = d[0], d1 = d[stride], d2 = d[2 * stride], d3 = d[3 * stride];
    const F d4 = d[4 * stride], d5 = d[5 * stride], d6 = d[6 * stride], d7 = d[7 * stride];

    const F t0 = d0 + d7, t7 = d0 - d7;
    const F t1 = d1 + d6, t6 = d1 - d6;
    const F t2 = d2 + d5, t5 = d2 - d5;
    const F t3 = d3 + d4, t4 = d3 - d4;

    const F p = t5 + t4;
    const F e13 = t0 - t3;
    const F e10 = t0 + t3;
    const F e11 = t2 + t1;
    const F q = t6 + t7;

    F z1, z3, z[3];
    const F forZ1[3] = {t1, t2, e13};
    InDouble<FL, DL, Z1>(forZ1, &z1);
    const F forZ3[2] = {t5, t6};
    InDouble<FL, DL, Z3>(forZ3, &z3);
    const F forZ[2] = {p, q};
    InDouble<FL, DL, Z5Z2Z4<FL, DL>>(forZ, z);
    const F z2 = z[1], z4 = z[2];

    const F z11 = z3 + t7;
    const F z13 = t7 - z3;

    d[0] = e10 + e11;
    d[4 * stride] = e10 - e11;
    d[stride] = z11 + z4;
    d[7 * stride] = z11 - z4;
    d[2 * stride] = e13 + z1;
    d[6 * stride] = e13 - z1;
    d[5 * stride] = z2 + z13;
    d[3 * stride] = z13 - z2;
}

// Transposes an FL x FL tile of floats held as FL vectors.
template <int FL>
struct Tile;

template <>
struct Tile<4> {
    typedef float F __attribute__((vector_size(16)));
    typedef int32_t M __attribute__((vector_size(16)));
    VARDOLIN_INLINE static void Transpose(F* v) {
        const F t0 = __builtin_shufflevector(v[0], v[1], 0, 4, 1, 5);
        const F t1 = __builtin_shufflevector(v[2], v[3], 0, 4, 1, 5);
        const F t2 = __builtin_shufflevector(v[0], v[1], 2, 6, 3, 7);
        const F t3 = __builtin_shufflevector(v[2], v[3], 2, 6, 3, 7);
        v[0] = __builtin_shufflevector(t0, t1, 0, 1, 4, 5);
        v[1] = __builtin_shufflevector(t0, t1, 2, 3, 6, 7);
        v[2] = __builtin_shufflevector(t2, t3, 0, 1, 4, 5);
        v[3] = __builtin_shufflevector(t2, t3, 2, 3, 6, 7);
    }
};

// The classic three stages: interleave pairs of rows, then pairs of pairs
// within each 128-bit half, then swap the halves.
template <>
struct Tile<8> {
    typedef float F __attribute__((vector_size(32)));
    typedef int32_t M __attribute__((vector_size(32)));
    VARDOLIN_INLINE static void Transpose(F* v) {
        F t[8], s[8];
        for (int i = 0; i < 8; i += 2) {
            t[i] = __builtin_shufflevector(v[i], v[i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
            t[i + 1] = __builtin_shufflevector(v[i], v[i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
        }
        for (int i = 0; i < 8; i += 4) {
            s[i] = __builtin_shufflevector(t[i], t[i + 2], 0, 1, 8, 9, 4, 5, 12, 13);
            s[i + 1] = __builtin_shufflevector(t[i], t[i + 2], 2, 3, 10, 11, 6, 7, 14, 15);
            s[i + 2] = __builtin_shufflevector(t[i + 1], t[i + 3], 0, 1, 8, 9, 4, 5, 12, 13);
            s[i + 3] = __builtin_shufflevector(t[i + 1], t[i + 3], 2, 3, 10, 11, 6, 7, 14, 15);
        }
        for (int i = 0; i < 4; ++i) {
            v[i] = __builtin_shufflevector(s[i], s[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
            v[i + 4] = __builtin_shufflevector(s[i], s[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
        }
    }
};

template <int FL, int DL>
VARDOLIN_INLINE void TransposeBlock(BlockRow<FL, DL>* rows, BlockRow<FL, DL>* columns) {
    constexpr int N = Lanes<FL, DL>::kPerRow;
    for (int ti = 0; ti < N; ++ti)
        for (int tj = 0; tj < N; ++tj) {
            typename Lanes<FL, DL>::F tile[FL];
            for (int k = 0; k < FL; ++k) tile[k] = rows[ti * FL + k][tj];
            Tile<FL>::Transpose(tile);
            for (int k = 0; k < FL; ++k) columns[tj * FL + k][ti] = tile[k];
        }
}

// Writes a quantized block, held column by column (u as the index, v across
// the lanes of its 8 / DL vectors), in zigzag order. Files for an instruction
// set with word permutes specialise this.
template <int DL>
struct ZigZagWriter {
    using I = typename Lanes<DL, DL>::I;
    VARDOLIN_INLINE static void Write(const I (*whole)[8 / DL], int16_t* out) {
        int32_t values[64];
        __builtin_memcpy(values, whole, sizeof values);
        for (int z = 0; z < 64; ++z) out[z] = static_cast<int16_t>(values[kZigZagFromColumnMajor.from[z]]);
    }
};

// Multiplies in double precision (the product of two floats is exact there),
// rounds to the nearest integer and writes the block. lowest and highest
// collect the integers for the range test.
template <int FL, int DL>
VARDOLIN_INLINE void Quantize(BlockRow<FL, DL>* columns, const double* scaleByColumn, int16_t* out,
                              typename Lanes<FL, DL>::I& lowest, typename Lanes<FL, DL>::I& highest) {
    using L = Lanes<FL, DL>;
    using D = typename L::D;
    typename L::I whole[8][8 / DL];
    for (int u = 0; u < 8; ++u)
        for (int h = 0; h < L::kPerRow; ++h)
            for (int piece = 0; piece < L::kPieces; ++piece) {
                const int v = h * FL + piece * DL;
                const D scaled = Widths<FL, DL>::Widen(columns[u][h], piece) * LoadVector<D>(scaleByColumn + u * 8 + v);
                const typename L::I rounded = Widths<FL, DL>::Nearest(scaled);
                lowest = rounded < lowest ? rounded : lowest;
                highest = rounded > highest ? rounded : highest;
                whole[u][v / DL] = rounded;
            }
    ZigZagWriter<DL>::Write(whole, out);
}

// G neighbouring blocks of C components at once: their dependency chains are
// independent, so the processor can overlap them.
template <int FL, int DL, int C, int G>
VARDOLIN_INLINE void TransformBlocks(const BlockRowJob& job, int32_t first, typename Lanes<FL, DL>::I& lowest,
                                     typename Lanes<FL, DL>::I& highest) {
    using F = typename Lanes<FL, DL>::F;
    constexpr int N = Lanes<FL, DL>::kPerRow;
    F rows[G][C][8][N], columns[G][C][8][N];
    for (int g = 0; g < G; ++g) {
        BlockPixels<DL> pixels;
        pixels.Load(job, first + g);
        for (int c = 0; c < C; ++c) ConvertBlock<FL, DL>(pixels, *job.components[c].colour, rows[g][c]);
    }
    for (int g = 0; g < G; ++g)
        for (int c = 0; c < C; ++c)
            for (int h = 0; h < N; ++h) Pass<FL, DL>(&rows[g][c][0][h], N);
    for (int g = 0; g < G; ++g)
        for (int c = 0; c < C; ++c) TransposeBlock<FL, DL>(rows[g][c], columns[g][c]);
    for (int g = 0; g < G; ++g)
        for (int c = 0; c < C; ++c)
            for (int h = 0; h < N; ++h) Pass<FL, DL>(&columns[g][c][0][h], N);
    for (int g = 0; g < G; ++g)
        for (int c = 0; c < C; ++c) {
            const ComponentRow& component = job.components[c];
            const int64_t at = 64 * int64_t(first + g);
            if (component.transformed)
                __builtin_memcpy(component.transformed + at, columns[g][c], sizeof columns[g][c]);
            Quantize<FL, DL>(columns[g][c], component.scaleByColumn, component.out + at, lowest, highest);
        }
}

template <int FL, int DL, int C, int G>
bool TransformComponents(const BlockRowJob& job) {
    using I = typename Lanes<FL, DL>::I;
    I lowest = I{}, highest = I{};
    int32_t block = 0;
    for (; block + G <= job.blocks; block += G) TransformBlocks<FL, DL, C, G>(job, block, lowest, highest);
    for (; block < job.blocks; ++block) TransformBlocks<FL, DL, C, 1>(job, block, lowest, highest);
    for (int lane = 0; lane < DL; ++lane)
        if (lowest[lane] < -32768 || highest[lane] > 32767) return false;
    return true;
}

// G blocks at a time when there is one component; several components give
// the processor independent work enough.
template <int FL, int DL, int G>
bool TransformBlockRow(const BlockRowJob& job) {
    switch (job.count) {
    case 1: return TransformComponents<FL, DL, 1, G>(job);
    case 2: return TransformComponents<FL, DL, 2, 1>(job);
    default: return TransformComponents<FL, DL, 3, 1>(job);
    }
}

}  // namespace
}  // namespace vardolin
