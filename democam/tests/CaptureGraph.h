// A capture graph built as the product builds it: the camera found through
// the system device enumerator, RenderStream with the capture category into
// a sample grabber and a null renderer. Frames are collected from the
// grabber's callback.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <uuids.h>
#include <wrl/client.h>

#include "democam/testing/CameraTesting.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vardolin::democam::camtest {

using Microsoft::WRL::ComPtr;

inline constexpr const wchar_t* kFirstCamera = kDemoCamera;
inline constexpr const wchar_t* kSecondCamera = kSecondDemoCamera;

// A video input device as the system device enumerator lists it.
struct VideoInputDevice {
    std::wstring friendlyName;
    std::wstring devicePath;   // empty when its property bag has none
    std::wstring displayName;  // the moniker's
    ComPtr<IMoniker> moniker;
};
std::vector<VideoInputDevice> VideoInputDevices();

// The friendly names of the video input devices, in enumeration order.
std::vector<std::wstring> VideoInputDeviceNames();

// The first listed device of that friendly name (or, failing that, that
// device path), created through its moniker; null when it is not listed.
ComPtr<IBaseFilter> OpenVideoInputDevice(const std::wstring& nameOrPath);

struct Frame {
    std::vector<uint8_t> bytes;
    long number = 0;  // how many frames had arrived, this one included
};

class CaptureGraph {
public:
    // Builds the graph for camera; the grabber accepts only grabberSubtype
    // with that format block (GUID_NULL: any).
    CaptureGraph(ComPtr<IBaseFilter> camera, const GUID& grabberSubtype, const GUID& grabberFormat = FORMAT_VideoInfo);
    ~CaptureGraph();

    HRESULT Built() const noexcept { return built_; }
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();
    // IMediaControl::GetState: waits up to timeout for a state change to end.
    HRESULT WaitForState(std::chrono::milliseconds timeout, OAFilterState* state = nullptr);
    // The next frame arriving within timeout, or none.
    std::optional<Frame> NextFrame(std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    long FramesSoFar();
    // The connected format between camera and graph: its format block and
    // bitmap header (from a VIDEOINFOHEADER or VIDEOINFOHEADER2).
    BITMAPINFOHEADER ConnectedHeader(GUID* formatType = nullptr);
    // The next graph event within timeout: code, param1, param2.
    std::optional<std::tuple<long, LONG_PTR, LONG_PTR>> NextEvent(std::chrono::milliseconds timeout);

    IBaseFilter* Camera() const noexcept { return camera_.Get(); }

private:
    class Collector;

    ComPtr<IBaseFilter> camera_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<ISampleGrabber> grabber_;
    ComPtr<IMediaControl> control_;
    ComPtr<IMediaEvent> events_;
    Collector* collector_ = nullptr;
    HRESULT built_ = E_FAIL;
};

// The camera's capture pin (found by category, as the product finds it).
ComPtr<IPin> CapturePin(IBaseFilter* camera);
ComPtr<IAMStreamConfig> StreamConfig(IBaseFilter* camera);
// The bitmap header of a VIDEOINFOHEADER or VIDEOINFOHEADER2 media type.
BITMAPINFOHEADER BitmapHeaderOf(const AM_MEDIA_TYPE& type);
// Frees a media type handed out through a pointer.
void FreeMediaType(AM_MEDIA_TYPE* type);
// Sets the offered format of that subtype and size.
HRESULT ChooseFormat(IBaseFilter* camera, const GUID& subtype, int width, int height);

// COM for one test: the tests wait on their own, without a message loop.
struct ComScope : ComApartment {
    ComScope() : ComApartment(COINIT_MULTITHREADED) {}
};

}  // namespace vardolin::democam::camtest
