// The block-row kernel with two double lanes: SSE2 on x86, the baseline of
// every build (the Windows DLLs included).
#include "BlockTransformKernel.inl"

namespace vardolin {

bool TransformBlockRowPortable(const BlockRowJob& job) { return TransformBlockRow<2, 1>(job); }

}  // namespace vardolin
