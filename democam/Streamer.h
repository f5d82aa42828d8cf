// The camera's streaming thread: draws a frame at the format's rate and
// pushes it downstream through the allocator and IMemInputPin::Receive.
#pragma once

#include "democam/DemoScene.h"
#include "democam/Handles.h"
#include "democam/Identity.h"
#include "democam/VideoFormat.h"

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include <atomic>
#include <thread>

namespace vardolin::democam {

struct StreamSetup {
    Microsoft::WRL::ComPtr<IMemAllocator> allocator;
    Microsoft::WRL::ComPtr<IMemInputPin> receiver;
    Microsoft::WRL::ComPtr<IReferenceClock> clock;  // may be null: samples are then stamped by count
    VideoFormat format;
    const CameraIdentity* camera = nullptr;  // selects the switches that apply, and the stage
    IMediaEventSink* events = nullptr;       // the graph's, valid while the graph runs us
    IUnknown* filter = nullptr;              // param1 of EC_DEVICE_LOST
};

// Picture controls and the device-lost latch, owned by the filter.
struct CameraControls {
    std::atomic<int> brightness;
    std::atomic<int> contrast;
    std::atomic<int> scene{static_cast<int>(Scene::Portrait)};
    std::atomic<bool> deviceLostReported{false};
};

class Streamer {
public:
    explicit Streamer(CameraControls& controls) noexcept : controls_(controls) {}
    Streamer(const Streamer&) = delete;
    Streamer& operator=(const Streamer&) = delete;
    ~Streamer() { Stop(); }

    // Starts the thread when it is not running yet, then delivers frames
    // stamped against streamStart (the graph's tStart).
    HRESULT Run(StreamSetup setup, REFERENCE_TIME streamStart) noexcept;
    // Keeps the thread but delivers nothing: a live source has no frames to
    // show while paused. Never waits for the thread, which may be blocked
    // in a downstream Receive until the graph runs or stops.
    void Pause() noexcept { delivering_ = false; }
    // Ends the thread; decommitting the allocator releases a waiting GetBuffer.
    void Stop() noexcept;

private:
    void StreamFrames() noexcept;
    HRESULT DeliverFrame(class FrameSource& source, long long frameNumber) noexcept;
    void AwaitReturnOfDevice() noexcept;
    void Notify(LONG_PTR deviceAvailable) noexcept;  // EC_DEVICE_LOST, param2 1 when back

    static constexpr DWORD kReturnPollMs = 100;
    bool WaitForStop(DWORD milliseconds) const noexcept;

    CameraControls& controls_;
    StreamSetup setup_;
    UniqueEvent stopEvent_;
    std::thread thread_;
    std::atomic<bool> delivering_{false};
    std::atomic<REFERENCE_TIME> streamStart_{0};
};

}  // namespace vardolin::democam
