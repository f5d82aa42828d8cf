// Which paths this processor can run, and the one table of each.
#include "encoder/Kernels.h"

#include "encoder/EntropyCoder.h"

namespace vardolin {

namespace {

constexpr EncoderKernels kPortable{EncoderPath::Portable, TransformBlockRowPortable, WriteScanData};
#if VARDOLIN_AVX_KERNELS
constexpr EncoderKernels kAvx2{EncoderPath::Avx2, TransformBlockRowAvx2, WriteScanData};
constexpr EncoderKernels kAvx512{EncoderPath::Avx512, TransformBlockRowAvx512, WriteScanData};
#endif

const EncoderKernels* reference = nullptr;

std::vector<const EncoderKernels*> DetectKernels() {
    std::vector<const EncoderKernels*> kernels{&kPortable};
#if VARDOLIN_AVX_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        kernels.push_back(&kAvx2);
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) kernels.push_back(&kAvx512);
    }
#endif
    return kernels;
}

// The encoder's own paths, slowest first.
const std::vector<const EncoderKernels*>& ProductKernels() {
    static const std::vector<const EncoderKernels*> kernels = DetectKernels();
    return kernels;
}

}  // namespace

const EncoderKernels* KernelsFor(EncoderPath path) {
    if (path == EncoderPath::Plain) return reference;
    for (const EncoderKernels* kernels : ProductKernels())
        if (kernels->path == path) return kernels;
    return nullptr;
}

void InstallReferenceKernels(const EncoderKernels& plain) { reference = &plain; }

std::vector<EncoderPath> AvailableEncoderPaths() {
    std::vector<EncoderPath> paths;
    if (reference) paths.push_back(EncoderPath::Plain);
    for (const EncoderKernels* kernels : ProductKernels()) paths.push_back(kernels->path);
    return paths;
}

EncoderPath FastestEncoderPath() { return ProductKernels().back()->path; }

const char* EncoderPathName(EncoderPath path) {
    switch (path) {
    case EncoderPath::Plain: return "plain";
    case EncoderPath::Portable: return "portable";
    case EncoderPath::Avx2: return "avx2";
    case EncoderPath::Avx512: return "avx512";
    }
    return "unknown";
}

}  // namespace vardolin
