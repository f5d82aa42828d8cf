// One running capture graph of one camera: device → (system decoder) →
// sample grabber → null renderer. Built, run, watched and stopped on the
// camera's worker thread; the window's thread reads frames through the
// graph's FrameTap, which stays valid after the graph is gone.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/camera/CameraProblem.h"
#include "capture/camera/PreviewScaler.h"

#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

namespace vardolin::capture {

class SampleClock;

// The grabber's latest sample as the 320 x 240 preview picture. Counting
// and timing samples is safe from any thread; LatestFrame belongs to one
// thread (the window's), since it keeps its working buffers.
class FrameTap {
public:
    FrameTap(Microsoft::WRL::ComPtr<ISampleGrabber> grabber, Microsoft::WRL::ComPtr<SampleClock> clock,
             SampleLayout layout);
    ~FrameTap();

    // Samples seen so far; 0 before the first.
    uint64_t SampleCount() const noexcept;
    // GetTickCount64 at the latest sample; 0 before the first.
    ULONGLONG LastSampleTick() const noexcept;
    // False when there is no sample yet. With detail, the same sample's
    // middle 4:3 area at the camera's full resolution too.
    bool LatestFrame(BitmapPixels& picture, BitmapPixels* detail = nullptr);

private:
    Microsoft::WRL::ComPtr<ISampleGrabber> grabber_;
    Microsoft::WRL::ComPtr<SampleClock> clock_;
    SampleLayout layout_;
    std::vector<uint8_t> sample_;  // reused from frame to frame
    PreviewScaler scaler_;
    PreviewScaler detailScaler_;
};

class CameraGraph {
public:
    // Builds the graph and runs it. With a photo scale the camera is first
    // set to the format that suits it best (ChooseFormatFor); with
    // kKeepFormat the format the camera holds (chosen in a format dialog) is
    // kept. Null with the reason in problem when the camera cannot start.
    static constexpr int kKeepFormat = 0;
    static std::unique_ptr<CameraGraph> Start(Microsoft::WRL::ComPtr<IBaseFilter> device, int photoScale,
                                              CameraProblem& problem);
    ~CameraGraph();
    CameraGraph(const CameraGraph&) = delete;
    CameraGraph& operator=(const CameraGraph&) = delete;

    const std::shared_ptr<FrameTap>& Tap() const noexcept { return tap_; }
    // Takes the graph's pending events; true when one says the device was lost.
    bool TakeDeviceLost();

private:
    CameraGraph() = default;
    // What the grabber is asked to accept: the camera's own subtype in any
    // format block when we convert it ourselves, or RGB24 in a VIDEOINFOHEADER.
    enum class GrabberTakes { CameraFormat, Rgb24 };
    HRESULT Build(int photoScale, GrabberTakes takes);

    Microsoft::WRL::ComPtr<IBaseFilter> device_;
    Microsoft::WRL::ComPtr<IGraphBuilder> graph_;
    Microsoft::WRL::ComPtr<IMediaControl> control_;
    Microsoft::WRL::ComPtr<IMediaEvent> events_;
    std::shared_ptr<FrameTap> tap_;
};

// The capture pin of a device (its format dialog lives there); null when it has none.
Microsoft::WRL::ComPtr<IPin> CapturePinOf(IBaseFilter* device);

}  // namespace vardolin::capture
