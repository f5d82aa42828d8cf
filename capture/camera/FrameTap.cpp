#include "capture/camera/FrameTap.h"

#include <utility>

namespace vardolin::capture {

void FrameTap::Deliver(const SampleLayout& layout, const uint8_t* frame, size_t size) {
    if (!converter_.Convert(layout, frame, size, making_)) return;
    copying_.assign(frame, frame + SampleBytes(layout));
    {
        std::lock_guard<std::mutex> held(lock_);
        // Swapped, not copied: the buffers go back and forth between the
        // two sides, so frame after frame allocates nothing.
        std::swap(making_, preview_);
        std::swap(copying_, frame_);
        layout_ = layout;
        ready_ = true;
    }
    lastTick_ = GetTickCount64();
    ++count_;
}

bool FrameTap::LatestFrame(BitmapPixels& picture, BitmapPixels* detail) {
    std::vector<uint8_t> frame;
    SampleLayout layout;
    {
        std::lock_guard<std::mutex> held(lock_);
        if (!ready_) return false;
        picture = preview_;
        if (!detail) return true;
        frame = frame_;
        layout = layout_;
    }
    // The still's detail is converted here, outside the lock, so the
    // streaming thread never waits for it.
    RECT visible = VisibleArea(layout);
    PixelConverter converter;
    if (!converter.Convert(layout, frame.data(), frame.size(), *detail,
                           FourByThreeCrop(visible.right - visible.left, visible.bottom - visible.top)))
        *detail = {};
    return true;
}

}  // namespace vardolin::capture
