#include "capture/camera/CameraGraph.h"

#include "win/ComAdopt.h"
#include "win/ComObject.h"
#include "capture/camera/FormatChoice.h"
#include "capture/camera/MediaTypes.h"

#include <atomic>

// Defined in libstrmiids but not declared by the headers.
extern "C" const CLSID CLSID_SampleGrabber;
extern "C" const CLSID CLSID_NullRenderer;

namespace vardolin::capture {

using Microsoft::WRL::ComPtr;

// Counts and times every sample the grabber sees, on the streaming thread.
class SampleClock final : public vardolin::ComObject<SampleClock, ISampleGrabberCB> {
public:
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_ISampleGrabberCB ? static_cast<ISampleGrabberCB*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample*) override {
        lastSample_ = GetTickCount64();
        ++count_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE*, long) override { return E_NOTIMPL; }

    ULONGLONG LastSample() const noexcept { return lastSample_; }
    uint64_t Count() const noexcept { return count_; }

private:
    std::atomic<ULONGLONG> lastSample_{0};
    std::atomic<uint64_t> count_{0};
};

namespace {

// How long the worker waits for a graph that starts its filters after Run
// returned; what is still starting then is left to the first-frame watch.
constexpr LONG kStartTimeoutMs = 2000;

// Sets the capture pin to the format that suits photos of that scale, when there is one.
void SetFormatFor(IAMStreamConfig* config, int photoScale) {
    OfferedTypes offered = OfferedTypesOf(config);
    if (auto chosen = ChooseFormatFor(offered.formats, photoScale)) config->SetFormat(offered.types[*chosen].get());
}

// The subtype the pin is set to; RGB24 when it does not say.
GUID CurrentSubtype(IAMStreamConfig* config) {
    AM_MEDIA_TYPE* type = nullptr;
    if (!config || FAILED(config->GetFormat(&type)) || !type) return MEDIASUBTYPE_RGB24;
    OwnedMediaType owned(type);
    return type->subtype;
}

// Runs the graph. A graph may answer S_FALSE and finish starting its filters
// afterwards; a device that then refuses to run shows up in the state.
HRESULT RunAndWait(IMediaControl* control) {
    HRESULT hr = control->Run();
    if (hr != S_FALSE) return hr;
    OAFilterState state = State_Stopped;
    hr = control->GetState(kStartTimeoutMs, &state);
    return hr == VFW_S_STATE_INTERMEDIATE ? S_OK : hr;  // still starting: the first-frame watch takes over
}

}  // namespace

FrameTap::FrameTap(ComPtr<ISampleGrabber> grabber, ComPtr<SampleClock> clock, SampleLayout layout)
    : grabber_(std::move(grabber)), clock_(std::move(clock)), layout_(layout) {}

FrameTap::~FrameTap() = default;

uint64_t FrameTap::SampleCount() const noexcept { return clock_->Count(); }

ULONGLONG FrameTap::LastSampleTick() const noexcept { return clock_->LastSample(); }

bool FrameTap::LatestFrame(BitmapPixels& picture, BitmapPixels* detail) {
    long size = 0;
    if (SampleCount() == 0 || FAILED(grabber_->GetCurrentBuffer(&size, nullptr)) || size <= 0) return false;
    if (sample_.size() < static_cast<size_t>(size)) sample_.resize(static_cast<size_t>(size));
    if (FAILED(grabber_->GetCurrentBuffer(&size, reinterpret_cast<long*>(sample_.data())))) return false;
    if (!scaler_.Convert(layout_, sample_.data(), static_cast<size_t>(size), picture)) return false;
    if (detail && !detailScaler_.Convert(layout_, sample_.data(), static_cast<size_t>(size), *detail,
                                         FourByThreeCrop(layout_.width, layout_.height)))
        *detail = {};
    return true;
}

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
    graph->device_ = device;
    HRESULT hr = graph->Build(photoScale, GrabberTakes::CameraFormat);
    if (FAILED(hr) && hr != E_ACCESSDENIED && !graph->control_) {
        // The grabber would not connect to the camera's own format (some
        // systems' grabbers refuse VIDEOINFOHEADER2 types): a second graph
        // asks for RGB24 and lets the system put its converter in between.
        graph.reset(new CameraGraph());
        graph->device_ = std::move(device);
        hr = graph->Build(kKeepFormat, GrabberTakes::Rgb24);
    }
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

HRESULT CameraGraph::Build(int photoScale, GrabberTakes takes) {
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> grabberFilter, sink;
    ComPtr<ISampleGrabber> grabber;
    HRESULT hr = S_OK;
    auto ok = [&](HRESULT result) { return SUCCEEDED(hr = result); };
    if (!ok(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph_))) ||
        !ok(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder))) ||
        !ok(CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&grabberFilter))) ||
        !ok(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sink))) ||
        !ok(builder->SetFiltergraph(graph_.Get())) || !ok(grabberFilter.As(&grabber)) ||
        !ok(graph_->AddFilter(device_.Get(), L"Camera")))
        return hr;

    ComPtr<IAMStreamConfig> config = StreamConfigOf(CapturePinOf(device_.Get()).Get());
    if (config && photoScale != kKeepFormat) SetFormatFor(config.Get(), photoScale);
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    if (takes == GrabberTakes::CameraFormat) {
        // Any format block: cameras describe their pictures with VIDEOINFOHEADER or VIDEOINFOHEADER2.
        wanted.subtype = GrabberSubtypeFor(CurrentSubtype(config.Get()));
    } else {
        wanted.subtype = MEDIASUBTYPE_RGB24;
        wanted.formattype = FORMAT_VideoInfo;
    }
    auto clock = AdoptReference(new SampleClock());
    if (!ok(grabber->SetMediaType(&wanted)) || !ok(grabber->SetBufferSamples(TRUE)) ||
        !ok(grabber->SetOneShot(FALSE)) || !ok(grabber->SetCallback(clock.Get(), 0)) ||
        !ok(graph_->AddFilter(grabberFilter.Get(), L"Grabber")) || !ok(graph_->AddFilter(sink.Get(), L"Sink")) ||
        !ok(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device_.Get(), grabberFilter.Get(),
                                  sink.Get())))
        return hr;

    MediaType connected;
    const BITMAPINFOHEADER* header = nullptr;
    if (!ok(grabber->GetConnectedMediaType(&connected)) || !(header = VideoHeaderOf(connected))) return E_FAIL;
    auto format = PixelFormatOf(connected.subtype);
    auto layout = format ? LayoutOf(*format, *header) : std::nullopt;
    if (!layout) return E_FAIL;
    tap_ = std::make_shared<FrameTap>(grabber, clock, *layout);

    // ComPtr::As needs a __uuidof that the headers do not give IMediaEvent.
    if (!ok(graph_->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events_.GetAddressOf()))) ||
        !ok(graph_.As(&control_)))
        return hr;
    return RunAndWait(control_.Get());
}

CameraGraph::~CameraGraph() {
    if (control_) control_->Stop();
    if (tap_) tap_.reset();
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
