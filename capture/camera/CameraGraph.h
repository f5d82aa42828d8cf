// One running capture graph of one camera: device → (the system's decoder,
// when the camera's format is not one we convert) → our FrameSink. Built,
// run, watched and stopped on the camera's thread; frames arrive in the sink
// on the device's streaming thread, and the window's thread reads the
// graph's FrameTap, which stays valid after the graph is gone.
#pragma once

#include "capture/camera/CameraProblem.h"
#include "capture/camera/FrameTap.h"

#include <dshow.h>
#include <wrl/client.h>

#include <memory>

namespace vardolin::capture {

class CameraGraph {
public:
    // Builds the graph and runs it. With a photo scale the camera is first
    // set to the format that suits it best (ChooseFormatFor) at the frame
    // rate chosen for it; with kKeepFormat the format the camera holds
    // (chosen in a format dialog) is kept. Null with the reason in problem
    // when the camera cannot start.
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
    HRESULT Build(int photoScale);

    Microsoft::WRL::ComPtr<IBaseFilter> device_;
    Microsoft::WRL::ComPtr<IBaseFilter> sink_;
    Microsoft::WRL::ComPtr<IGraphBuilder> graph_;
    Microsoft::WRL::ComPtr<IMediaControl> control_;
    Microsoft::WRL::ComPtr<IMediaEvent> events_;
    std::shared_ptr<FrameTap> tap_;
};

// The capture pin of a device (its format dialog lives there); null when it has none.
Microsoft::WRL::ComPtr<IPin> CapturePinOf(IBaseFilter* device);

}  // namespace vardolin::capture
