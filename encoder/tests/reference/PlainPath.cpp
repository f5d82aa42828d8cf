#include "encoder/tests/reference/PlainPath.h"

namespace vardolin::test {

const EncoderKernels& PlainKernels() {
    static constexpr EncoderKernels kPlain{EncoderPath::Plain, TransformBlockRowPlain, WritePlainScanData};
    return kPlain;
}

bool InstallPlainPath() {
    InstallReferenceKernels(PlainKernels());
    return true;
}

}  // namespace vardolin::test
