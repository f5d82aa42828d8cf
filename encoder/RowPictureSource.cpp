#include "encoder/RowPictureSource.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "encoder/RowDrawer.h"

namespace vardolin {
namespace {

// The canvas, freshly allocated, is filled once from end to end. Backing it
// with large pages where the system offers them saves most of the page faults
// of that first pass. A hint only: does nothing where the system has no such
// pages, or when the range is too small to hold one.
void PreferLargePages(void* memory, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(memory) + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(kLargePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)memory;
    (void)bytes;
#endif
}

}  // namespace

RowPictureSource& RowPictureSource::operator=(const RowPictureSource& other) {
    if (this != &other) {
        ReleaseCanvas();
        canvasLimit_ = other.canvasLimit_;
    }
    return *this;
}

bool RowPictureSource::AcceptsCanvas(int32_t width, int32_t height) const {
    if (width <= 0 || height <= 0) return false;
    // In 64 bits: a 32-bit size_t could wrap around and pass the limit test.
    const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    return stride * uint64_t(height) <= canvasLimit_ && stride <= INT32_MAX;
}

bool RowPictureSource::CreateCanvas(int32_t width, int32_t height) {
    ReleaseCanvas();
    if (!AcceptsCanvas(width, height)) return false;
    const int32_t stride = static_cast<int32_t>((int64_t(width) * 3 + 3) & ~int64_t(3));
    const size_t bytes = size_t(stride) * size_t(height);
    canvas_.reset(static_cast<uint8_t*>(std::calloc(bytes, 1)));
    if (!canvas_) return false;
    PreferLargePages(canvas_.get(), bytes);
    view_ = {canvas_.get(), width, height, stride};
    return true;
}

void RowPictureSource::ReleaseCanvas() {
    canvas_.reset();
    view_ = {};
}

void RowPictureSource::Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight, int32_t destTop,
                            int32_t destWidth, int32_t destHeight) {
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    RowDrawer drawer(*this, srcLeft, srcTop, srcWidth, srcHeight, destWidth, destHeight);
    for (int32_t y = 0; y < destHeight; ++y) drawer.DrawRow(y, view_.Row(destTop + y));
}

}  // namespace vardolin
