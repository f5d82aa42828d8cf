// The scaled floating-point forward DCT (Arai, Agui, Nakajima), columns first,
// then rows, one value at a time. Each stored value is evaluated in double
// precision and rounded to float, which makes the result the same on every
// compiler and CPU.
#include "encoder/tests/reference/PlainPath.h"

namespace vardolin::test {

namespace {

constexpr double c4 = 0.707106781186548;
constexpr double c6s = 0.382683432365091;
constexpr double c2m6 = 0.541196100146196;
constexpr double c2p6 = 1.30656296487638;

inline float F(double value) { return static_cast<float>(value); }

// One 1-D pass over eight values reached through a stride.
inline void Pass(float* d, int stride) {
    const double d0 = d[0], d1 = d[stride], d2 = d[2 * stride], d3 = d[3 * stride];
    const double d4 = d[4 * stride], d5 = d[5 * stride], d6 = d[6 * stride], d7 = d[7 * stride];

    const float t0 = F(d0 + d7), t7 = F(d0 - d7);
    const float t1 = F(d1 + d6), t6 = F(d1 - d6);
    const float t2 = F(d2 + d5), t5 = F(d2 - d5);
    const float t3 = F(d3 + d4), t4 = F(d3 - d4);

    const float p = F(double(t5) + t4);
    const float e13 = F(double(t0) - t3);
    const float e10 = F(double(t0) + t3);
    const float e11 = F(double(t2) + t1);

    const float z1 = F(((double(t1) - t2) + e13) * c4);
    const float q = F(double(t6) + t7);
    const float z3 = F((double(t5) + t6) * c4);
    const float z5 = F((double(q) - p) * c6s);
    const float z2 = F(double(p) * c2m6 - z5);
    const float z4 = F(double(q) * c2p6 - z5);
    const float z11 = F(double(z3) + t7);
    const float z13 = F(double(t7) - z3);

    d[0] = F(double(e10) + e11);
    d[4 * stride] = F(double(e10) - e11);
    d[stride] = F(double(z11) + z4);
    d[7 * stride] = F(double(z11) - z4);
    d[2 * stride] = F(double(e13) + z1);
    d[6 * stride] = F(double(e13) - z1);
    d[5 * stride] = F(double(z2) + z13);
    d[3 * stride] = F(double(z13) - z2);
}

}  // namespace

void ForwardDCT(float (&WorkBlock)[8][8]) {
    for (int c = 0; c < 8; ++c) Pass(&WorkBlock[0][c], 8);
    for (int r = 0; r < 8; ++r) Pass(&WorkBlock[r][0], 1);
}

}  // namespace vardolin::test
