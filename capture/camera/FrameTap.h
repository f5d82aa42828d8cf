// Where the camera's frames meet the window: the sink writes every frame in
// on the streaming thread (making the 320 x 240 preview there), the window's
// thread takes the ready preview out. Plain C++ shared by the two threads
// under its own lock; it holds no DirectShow object, and it stays valid
// after the graph that fed it is gone.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/camera/PixelConversion.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace vardolin::capture {

class FrameTap {
public:
    // Frames seen so far; 0 before the first.
    uint64_t SampleCount() const noexcept { return count_; }
    // GetTickCount64 at the latest frame; 0 before the first.
    ULONGLONG LastSampleTick() const noexcept { return lastTick_; }
    // False when there is no frame yet. The picture is the latest frame's
    // ready 320 x 240 preview (copied, not converted). With detail, the same
    // frame's middle 4:3 area at the camera's full resolution too, converted
    // now from the kept frame.
    bool LatestFrame(BitmapPixels& picture, BitmapPixels* detail = nullptr);

    // The streaming thread's side: copies the frame (the caller keeps its
    // buffer), makes its preview and makes both the latest. A frame shorter
    // than its layout needs is dropped.
    void Deliver(const SampleLayout& layout, const uint8_t* frame, size_t size);

private:
    // The streaming thread's own working state.
    PixelConverter converter_;
    BitmapPixels making_;
    std::vector<uint8_t> copying_;

    // The latest frame and its preview, swapped in under the lock.
    std::mutex lock_;
    bool ready_ = false;
    BitmapPixels preview_;
    std::vector<uint8_t> frame_;
    SampleLayout layout_{PixelFormat::Rgb24, 0, 0, false};

    std::atomic<uint64_t> count_{0};
    std::atomic<ULONGLONG> lastTick_{0};
};

}  // namespace vardolin::capture
