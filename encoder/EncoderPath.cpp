// Which encoder paths this processor can run.
#include "EncoderPath.h"

#include "BlockTransform.h"

namespace vardolin {

namespace {

std::vector<EncoderPath> DetectPaths() {
    std::vector<EncoderPath> paths{EncoderPath::Plain, EncoderPath::Portable};
#if VARDOLIN_AVX_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        paths.push_back(EncoderPath::Avx2);
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
            paths.push_back(EncoderPath::Avx512);
    }
#endif
    return paths;
}

}  // namespace

std::vector<EncoderPath> AvailableEncoderPaths() {
    static const std::vector<EncoderPath> paths = DetectPaths();
    return paths;
}

EncoderPath FastestEncoderPath() {
    static const EncoderPath fastest = DetectPaths().back();
    return fastest;
}

const char* EncoderPathName(EncoderPath path) {
    switch (path) {
    case EncoderPath::Plain: return "plain";
    case EncoderPath::Portable: return "portable";
    case EncoderPath::Avx2: return "avx2";
    case EncoderPath::Avx512: return "avx512";
    }
    return "unknown";
}

BlockRowKernel KernelFor(EncoderPath path) {
    switch (path) {
    case EncoderPath::Plain: return TransformBlockRowPlain;
    case EncoderPath::Portable: return TransformBlockRowPortable;
#if VARDOLIN_AVX_KERNELS
    case EncoderPath::Avx2: return TransformBlockRowAvx2;
    case EncoderPath::Avx512: return TransformBlockRowAvx512;
#else
    case EncoderPath::Avx2:
    case EncoderPath::Avx512: return TransformBlockRowPortable;
#endif
    }
    return TransformBlockRowPlain;
}

}  // namespace vardolin
