#include "capture/camera/CameraGraph.h"

#include "capture/camera/FormatChoice.h"
#include "capture/camera/FrameSink.h"
#include "capture/camera/MediaTypes.h"

namespace vardolin::capture {

using Microsoft::WRL::ComPtr;

namespace {

// How long the worker waits for a graph that starts its filters after Run
// returned; what is still starting then is left to the first-frame watch.
constexpr LONG kStartTimeoutMs = 2000;

// Sets the capture pin to the format that suits photos of that scale, when
// there is one, and asks for the frame rate chosen with it.
void SetFormatFor(IAMStreamConfig* config, int photoScale) {
    OfferedTypes offered = OfferedTypesOf(config);
    std::optional<size_t> chosen = ChooseFormatFor(offered.formats, photoScale);
    if (!chosen) return;
    AM_MEDIA_TYPE& type = *offered.types[*chosen];
    if (int64_t interval = FrameIntervalFor(offered.formats[*chosen])) SetFrameInterval(type, interval);
    config->SetFormat(&type);
}

// Runs the graph and reads its state back. A graph may answer S_FALSE and
// finish starting its filters afterwards, and a device that refuses to run
// may show only in the state the graph reports then, whatever Run answered.
// A graph still starting when the time is up is left to the first-frame
// watch (VFW_S_STATE_INTERMEDIATE, like VFW_S_CANT_CUE, is a success).
HRESULT RunAndWait(IMediaControl* control) {
    HRESULT hr = control->Run();
    if (FAILED(hr)) return hr;
    OAFilterState state = State_Stopped;
    hr = control->GetState(kStartTimeoutMs, &state);
    return FAILED(hr) ? hr : S_OK;
}

}  // namespace

ComPtr<IPin> CapturePinOf(IBaseFilter* device) {
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IPin> pin;
    if (device &&
        SUCCEEDED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder))))
        builder->FindPin(device, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, FALSE, 0, &pin);
    return pin;
}

std::unique_ptr<CameraGraph> CameraGraph::Start(ComPtr<IBaseFilter> device, int photoScale, CameraProblem& problem) {
    std::unique_ptr<CameraGraph> graph(new CameraGraph());
    graph->device_ = std::move(device);
    HRESULT hr = graph->Build(photoScale);
    if (SUCCEEDED(hr)) {
        problem = CameraProblem::None;
        return graph;
    }
    // Refusals of the system or of security software come as access denied
    // from whichever step met them; a format we cannot use fails before Run.
    problem = hr == E_ACCESSDENIED ? CameraProblem::AccessDenied
              : graph->control_    ? ProblemOfRunFailure(hr)
                                   : CameraProblem::UnusableFormat;
    return nullptr;
}

HRESULT CameraGraph::Build(int photoScale) {
    HRESULT hr = S_OK;
    auto ok = [&](HRESULT result) { return SUCCEEDED(hr = result); };
    auto tap = std::make_shared<FrameTap>();
    sink_ = CreateFrameSink(tap);
    if (!ok(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph_))) ||
        !ok(graph_->AddFilter(device_.Get(), L"Camera")) || !ok(graph_->AddFilter(sink_.Get(), L"Frame sink")))
        return hr;
    ComPtr<IPin> capture = CapturePinOf(device_.Get());
    if (!capture) return VFW_E_NOT_FOUND;
    ComPtr<IAMStreamConfig> config = StreamConfigOf(capture.Get());
    if (config && photoScale != kKeepFormat) SetFormatFor(config.Get(), photoScale);
    // Straight from the capture pin to the sink when the sink takes the
    // camera's format; otherwise the graph puts the system's decoder or
    // converter in between.
    if (!ok(graph_->Connect(capture.Get(), FrameSinkPin(sink_.Get()).Get()))) return hr;
    tap_ = std::move(tap);

    // ComPtr::As needs a __uuidof that the headers do not give IMediaEvent.
    if (!ok(graph_->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events_.GetAddressOf()))) ||
        !ok(graph_.As(&control_)))
        return hr;
    return RunAndWait(control_.Get());
}

CameraGraph::~CameraGraph() {
    if (control_) control_->Stop();
    // A Run that failed part way (the device refused) may leave the sink
    // paused while the graph calls itself stopped; stopped, its pin lets go.
    if (sink_) sink_->Stop();
    tap_.reset();
    // The device can belong to one graph at a time; take it out so the next graph can use it.
    if (graph_ && device_) graph_->RemoveFilter(device_.Get());
}

bool CameraGraph::TakeDeviceLost() {
    bool lost = false;
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (events_ && events_->GetEvent(&code, &first, &second, 0) == S_OK) {
        if (code == EC_DEVICE_LOST && second == 0) lost = true;
        if (code == EC_ERRORABORT) lost = true;  // the stream stopped with an error
        events_->FreeEventParams(code, first, second);
    }
    return lost;
}

}  // namespace vardolin::capture
