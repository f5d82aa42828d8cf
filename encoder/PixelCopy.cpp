#include "encoder/PixelCopy.h"

#include "encoder/BlockTransform.h"

namespace vardolin {

namespace {

void CopyPlain(const uint8_t* rgb, uint8_t* bgr, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i, rgb += 3, bgr += 3) bgr[0] = rgb[2], bgr[1] = rgb[1], bgr[2] = rgb[0];
}

using Copy = void (*)(const uint8_t*, uint8_t*, size_t);

Copy ChooseCopy() {
#if VARDOLIN_AVX_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("ssse3")) return CopySwappingRedAndBlueSsse3;
#endif
    return CopyPlain;
}

}  // namespace

void CopySwappingRedAndBlue(const uint8_t* rgb, uint8_t* bgr, size_t pixels) {
    static const Copy copy = ChooseCopy();
    copy(rgb, bgr, pixels);
}

}  // namespace vardolin
