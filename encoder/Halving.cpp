#include "encoder/Halving.h"

#include "encoder/BlockTransform.h"

namespace vardolin {

namespace {

using Halve = void (*)(const uint8_t*, const uint8_t*, uint8_t*, size_t);

Halve ChooseHalving() {
#if VARDOLIN_AVX_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("ssse3")) return HalveRowsSsse3;
#endif
    return HalveRowsPlain;
}

}  // namespace

void HalveRows(const uint8_t* top, const uint8_t* bottom, uint8_t* out, size_t pixels) {
    static const Halve halve = ChooseHalving();
    halve(top, bottom, out, pixels);
}

}  // namespace vardolin
