#include "camera/CameraGraph.h"

#include "ComAdopt.h"
#include "ComObject.h"
#include "camera/FormatChoice.h"

#include <atomic>

// Defined in libstrmiids but not declared by the headers.
extern "C" const CLSID CLSID_SampleGrabber;
extern "C" const CLSID CLSID_NullRenderer;

namespace vardolin::capture {

using Microsoft::WRL::ComPtr;

// Notes the time of every sample the grabber sees, on the streaming thread.
class SampleClock final : public vardolin::ComObject<SampleClock, ISampleGrabberCB> {
public:
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_ISampleGrabberCB ? static_cast<ISampleGrabberCB*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample*) override {
        lastSample_ = GetTickCount64();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE*, long) override { return E_NOTIMPL; }

    ULONGLONG LastSample() const noexcept { return lastSample_; }

private:
    std::atomic<ULONGLONG> lastSample_{0};
};

namespace {

constexpr LONG kStartTimeoutMs = 2000;

void FreeMediaTypeFields(AM_MEDIA_TYPE& type) noexcept {
    if (type.cbFormat) CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    type = AM_MEDIA_TYPE{};
}

// A media type filled in by the grabber.
struct MediaType : AM_MEDIA_TYPE {
    MediaType() noexcept : AM_MEDIA_TYPE{} {}
    MediaType(const MediaType&) = delete;
    MediaType& operator=(const MediaType&) = delete;
    ~MediaType() { FreeMediaTypeFields(*this); }
    const BITMAPINFOHEADER* VideoHeader() const noexcept {
        if (formattype == FORMAT_VideoInfo && cbFormat >= sizeof(VIDEOINFOHEADER) && pbFormat)
            return &reinterpret_cast<const VIDEOINFOHEADER*>(pbFormat)->bmiHeader;
        return nullptr;
    }
};

// A media type the pin allocated whole (IAMStreamConfig hands these out).
struct OwnedMediaType {
    AM_MEDIA_TYPE* type = nullptr;
    ~OwnedMediaType() {
        if (!type) return;
        FreeMediaTypeFields(*type);
        CoTaskMemFree(type);
    }
};

ComPtr<IAMStreamConfig> StreamConfigOf(IPin* pin) {
    ComPtr<IAMStreamConfig> config;
    if (pin) pin->QueryInterface(IID_PPV_ARGS(&config));
    return config;
}

// Sets the capture pin to the format that suits the preview, when there is one.
void SetPreviewFormat(IAMStreamConfig* config) {
    int count = 0, size = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &size)) || size != sizeof(VIDEO_STREAM_CONFIG_CAPS)) return;
    std::vector<std::unique_ptr<OwnedMediaType>> types;
    std::vector<OfferedFormat> offered;
    std::vector<int> indexOf;
    for (int i = 0; i < count; ++i) {
        auto type = std::make_unique<OwnedMediaType>();
        VIDEO_STREAM_CONFIG_CAPS caps{};
        if (FAILED(config->GetStreamCaps(i, &type->type, reinterpret_cast<BYTE*>(&caps))) || !type->type) continue;
        if (type->type->formattype != FORMAT_VideoInfo || type->type->cbFormat < sizeof(VIDEOINFOHEADER)) continue;
        const BITMAPINFOHEADER& header = reinterpret_cast<VIDEOINFOHEADER*>(type->type->pbFormat)->bmiHeader;
        offered.push_back({type->type->subtype, header.biWidth, std::abs(header.biHeight)});
        types.push_back(std::move(type));
    }
    if (auto chosen = ChoosePreviewFormat(offered)) config->SetFormat(types[*chosen]->type);
}

// The subtype the pin is set to; RGB24 when it does not say.
GUID CurrentSubtype(IAMStreamConfig* config) {
    AM_MEDIA_TYPE* type = nullptr;
    if (!config || FAILED(config->GetFormat(&type)) || !type) return MEDIASUBTYPE_RGB24;
    OwnedMediaType owned{type};
    return type->subtype;
}

// Runs the graph. A graph may answer S_FALSE and finish starting its filters
// afterwards; a device that then refuses to run shows up in the state.
HRESULT RunAndWait(IMediaControl* control) {
    HRESULT hr = control->Run();
    if (hr != S_FALSE) return hr;
    OAFilterState state = State_Stopped;
    hr = control->GetState(kStartTimeoutMs, &state);
    return hr == VFW_S_STATE_INTERMEDIATE ? S_OK : hr;  // still starting: the silence watch takes over
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

std::unique_ptr<CameraGraph> CameraGraph::Start(ComPtr<IBaseFilter> device, bool choosePreviewFormat, Notify notify,
                                                CameraProblem& problem) {
    std::unique_ptr<CameraGraph> graph(new CameraGraph());
    graph->device_ = std::move(device);
    problem = CameraProblem::None;
    if (FAILED(graph->Build(choosePreviewFormat, notify, problem))) return nullptr;
    return graph;
}

HRESULT CameraGraph::Build(bool choosePreviewFormat, Notify notify, CameraProblem& problem) {
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> grabberFilter, sink;
    problem = CameraProblem::UnusableFormat;
    HRESULT hr = S_OK;
    auto ok = [&](HRESULT result) { return SUCCEEDED(hr = result); };
    if (!ok(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph_))) ||
        !ok(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder))) ||
        !ok(CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&grabberFilter))) ||
        !ok(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sink))) ||
        !ok(builder->SetFiltergraph(graph_.Get())) || !ok(grabberFilter.As(&grabber_)) ||
        !ok(graph_->AddFilter(device_.Get(), L"Camera")))
        return hr;

    ComPtr<IAMStreamConfig> config = StreamConfigOf(CapturePinOf(device_.Get()).Get());
    if (config && choosePreviewFormat) SetPreviewFormat(config.Get());
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = GrabberSubtypeFor(CurrentSubtype(config.Get()));
    wanted.formattype = FORMAT_VideoInfo;
    clock_ = AdoptReference(new SampleClock());
    if (!ok(grabber_->SetMediaType(&wanted)) || !ok(grabber_->SetBufferSamples(TRUE)) ||
        !ok(grabber_->SetOneShot(FALSE)) || !ok(grabber_->SetCallback(clock_.Get(), 0)) ||
        !ok(graph_->AddFilter(grabberFilter.Get(), L"Grabber")) || !ok(graph_->AddFilter(sink.Get(), L"Sink")) ||
        !ok(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device_.Get(), grabberFilter.Get(),
                                  sink.Get())))
        return hr;

    MediaType connected;
    const BITMAPINFOHEADER* header = nullptr;
    if (!ok(grabber_->GetConnectedMediaType(&connected)) || !(header = connected.VideoHeader())) return E_FAIL;
    auto format = PixelFormatOf(connected.subtype);
    if (!format || !(layout_ = LayoutOf(*format, *header))) return E_FAIL;

    // ComPtr::As needs a __uuidof that the headers do not give IMediaEventEx.
    if (!ok(graph_.As(&control_)) ||
        !ok(graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(events_.GetAddressOf()))))
        return hr;
    if (notify.window) events_->SetNotifyWindow(reinterpret_cast<OAHWND>(notify.window), notify.message, 0);
    if (!ok(RunAndWait(control_.Get()))) {
        problem = ProblemOfRunFailure(hr);
        return hr;
    }
    problem = CameraProblem::None;
    return S_OK;
}

CameraGraph::~CameraGraph() {
    if (events_) events_->SetNotifyWindow(0, 0, 0);
    if (control_) control_->Stop();
    if (grabber_) grabber_->SetCallback(nullptr, 0);
    // The device can belong to one graph at a time; take it out so the next graph can use it.
    if (graph_ && device_) graph_->RemoveFilter(device_.Get());
}

bool CameraGraph::LatestFrame(BitmapPixels& picture) {
    long size = 0;
    if (!layout_ || LastSampleTick() == 0 || FAILED(grabber_->GetCurrentBuffer(&size, nullptr)) || size <= 0)
        return false;
    if (sample_.size() < static_cast<size_t>(size)) sample_.resize(static_cast<size_t>(size));
    if (FAILED(grabber_->GetCurrentBuffer(&size, reinterpret_cast<long*>(sample_.data())))) return false;
    return scaler_.Convert(*layout_, sample_.data(), static_cast<size_t>(size), picture);
}

ULONGLONG CameraGraph::LastSampleTick() const noexcept { return clock_ ? clock_->LastSample() : 0; }

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
