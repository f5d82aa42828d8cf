// One running capture graph of one camera: device → (system decoder) →
// sample grabber → null renderer. The grabber keeps the latest sample; the
// graph's events go to a window as a message.
#pragma once

#include "BitmapFile.h"
#include "camera/CameraProblem.h"
#include "camera/PreviewScaler.h"

#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <memory>
#include <optional>
#include <vector>

namespace vardolin::capture {

class SampleClock;

class CameraGraph {
public:
    struct Notify {
        HWND window;
        UINT message;
    };

    // Builds the graph and runs it. With choosePreviewFormat the camera is
    // first set to the format that suits the preview best; without, the
    // format the camera holds (chosen in its format dialog) is kept.
    // Null with the reason in problem when the camera cannot start.
    static std::unique_ptr<CameraGraph> Start(Microsoft::WRL::ComPtr<IBaseFilter> device, bool choosePreviewFormat,
                                              Notify notify, CameraProblem& problem);
    ~CameraGraph();
    CameraGraph(const CameraGraph&) = delete;
    CameraGraph& operator=(const CameraGraph&) = delete;

    // The latest sample as the 320 x 240 preview picture; false when there is none yet.
    bool LatestFrame(BitmapPixels& picture);
    // GetTickCount64 at the latest sample; 0 before the first.
    ULONGLONG LastSampleTick() const noexcept;
    // Takes the graph's pending events; true when one says the device was lost.
    bool TakeDeviceLost();

private:
    CameraGraph() = default;
    HRESULT Build(bool choosePreviewFormat, Notify notify, CameraProblem& problem);

    Microsoft::WRL::ComPtr<IBaseFilter> device_;
    Microsoft::WRL::ComPtr<IGraphBuilder> graph_;
    Microsoft::WRL::ComPtr<ISampleGrabber> grabber_;
    Microsoft::WRL::ComPtr<IMediaControl> control_;
    Microsoft::WRL::ComPtr<IMediaEventEx> events_;
    Microsoft::WRL::ComPtr<SampleClock> clock_;
    std::optional<SampleLayout> layout_;
    std::vector<uint8_t> sample_;  // reused from frame to frame
    PreviewScaler scaler_;
};

// The capture pin of a device (its format dialog lives there); null when it has none.
Microsoft::WRL::ComPtr<IPin> CapturePinOf(IBaseFilter* device);

}  // namespace vardolin::capture
