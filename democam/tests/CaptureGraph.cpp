#include "democam/tests/CaptureGraph.h"

#include "win/ComObject.h"
#include "win/Win32Handles.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <algorithm>
#include <atomic>
#include <cstring>

// Defined in libstrmiids but not declared by the headers.
extern "C" const CLSID CLSID_SampleGrabber;
extern "C" const CLSID CLSID_NullRenderer;

namespace vardolin::democam::camtest {

// Keeps the latest frame the grabber passes on, and counts them.
class CaptureGraph::Collector final : public ComObject<CaptureGraph::Collector, ISampleGrabberCB> {
public:
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == __uuidof(ISampleGrabberCB) ? static_cast<ISampleGrabberCB*>(this)
                                                                        : nullptr;
    }
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return E_NOTIMPL; }
    STDMETHODIMP BufferCB(double, BYTE* buffer, LONG length) override {
        std::lock_guard guard(lock_);
        latest_.bytes.assign(buffer, buffer + std::max(length, 0L));
        latest_.number = ++count_;
        arrived_.notify_all();
        return S_OK;
    }

    std::optional<Frame> Next(std::chrono::milliseconds timeout) {
        std::unique_lock guard(lock_);
        long seen = count_;
        if (!arrived_.wait_for(guard, timeout, [&] { return count_ > seen; })) return std::nullopt;
        return latest_;
    }
    long Count() {
        std::lock_guard guard(lock_);
        return count_;
    }

private:
    std::mutex lock_;
    std::condition_variable arrived_;
    Frame latest_;
    long count_ = 0;
};

namespace {
std::wstring ReadProperty(IPropertyBag* bag, const wchar_t* name) {
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(bag->Read(name, &value, nullptr)) && value.vt == VT_BSTR) text = value.bstrVal;
    VariantClear(&value);
    return text;
}
}  // namespace

std::vector<VideoInputDevice> VideoInputDevices() {
    std::vector<VideoInputDevice> listed;
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices))) ||
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK)
        return listed;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        VideoInputDevice device;
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) {
            device.friendlyName = ReadProperty(bag.Get(), L"FriendlyName");
            device.devicePath = ReadProperty(bag.Get(), L"DevicePath");
        }
        LPOLESTR displayName = nullptr;
        HRESULT named = moniker->GetDisplayName(nullptr, nullptr, &displayName);
        UniqueCoTaskMem<wchar_t> heldName(displayName);
        if (SUCCEEDED(named) && heldName) device.displayName = heldName.get();
        device.moniker = std::move(moniker);
        listed.push_back(std::move(device));
    }
    return listed;
}

std::vector<std::wstring> VideoInputDeviceNames() {
    std::vector<std::wstring> names;
    for (VideoInputDevice& device : VideoInputDevices()) names.push_back(device.friendlyName);
    return names;
}

ComPtr<IBaseFilter> OpenVideoInputDevice(const std::wstring& nameOrPath) {
    std::vector<VideoInputDevice> devices = VideoInputDevices();
    auto named = std::find_if(devices.begin(), devices.end(), [&](auto& d) { return d.friendlyName == nameOrPath; });
    if (named == devices.end())
        named = std::find_if(devices.begin(), devices.end(), [&](auto& d) { return d.devicePath == nameOrPath; });
    ComPtr<IBaseFilter> filter;
    if (named != devices.end()) named->moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter));
    return filter;
}

ComPtr<IPin> CapturePin(IBaseFilter* camera) {
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IPin> pin;
    if (SUCCEEDED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder))))
        builder->FindPin(camera, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, FALSE, 0, &pin);
    return pin;
}

ComPtr<IAMStreamConfig> StreamConfig(IBaseFilter* camera) {
    ComPtr<IAMStreamConfig> config;
    if (ComPtr<IPin> pin = CapturePin(camera)) pin.As(&config);
    return config;
}

BITMAPINFOHEADER BitmapHeaderOf(const AM_MEDIA_TYPE& type) {
    if (type.pbFormat && IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (type.pbFormat && IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    return BITMAPINFOHEADER{};
}

void FreeMediaType(AM_MEDIA_TYPE* type) {
    UniqueCoTaskMem<AM_MEDIA_TYPE> held(type);
    if (!held) return;
    UniqueCoTaskMem<BYTE> format(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
}

HRESULT ChooseFormat(IBaseFilter* camera, const GUID& subtype, int width, int height) {
    ComPtr<IAMStreamConfig> config = StreamConfig(camera);
    if (!config) return E_NOINTERFACE;
    int count = 0, size = 0;
    if (HRESULT hr = config->GetNumberOfCapabilities(&count, &size); FAILED(hr)) return hr;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        if (config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)) != S_OK) continue;
        BITMAPINFOHEADER header = BitmapHeaderOf(*type);
        HRESULT hr = S_FALSE;
        if (IsEqualGUID(type->subtype, subtype) && header.biWidth == width && header.biHeight == height)
            hr = config->SetFormat(type);
        FreeMediaType(type);
        if (hr != S_FALSE) return hr;
    }
    return VFW_E_INVALIDMEDIATYPE;
}

CaptureGraph::CaptureGraph(ComPtr<IBaseFilter> camera, const GUID& grabberSubtype, const GUID& grabberFormat)
    : camera_(std::move(camera)), collector_(new Collector) {
    ComPtr<IBaseFilter> grabberFilter, sink;
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = grabberSubtype;
    wanted.formattype = grabberFormat;
    HRESULT hr = camera_ ? S_OK : E_POINTER;
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph_));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder_));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&grabberFilter));
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sink));
    if (SUCCEEDED(hr)) hr = builder_->SetFiltergraph(graph_.Get());
    if (SUCCEEDED(hr)) hr = grabberFilter.As(&grabber_);
    if (SUCCEEDED(hr)) hr = grabber_->SetMediaType(&wanted);
    if (SUCCEEDED(hr)) hr = grabber_->SetCallback(collector_, 1);
    if (SUCCEEDED(hr)) hr = graph_->AddFilter(camera_.Get(), L"Camera");
    if (SUCCEEDED(hr)) hr = graph_->AddFilter(grabberFilter.Get(), L"Grabber");
    if (SUCCEEDED(hr)) hr = graph_->AddFilter(sink.Get(), L"Sink");
    if (SUCCEEDED(hr))
        hr = builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera_.Get(), grabberFilter.Get(),
                                    sink.Get());
    if (SUCCEEDED(hr)) hr = graph_.As(&control_);
    if (SUCCEEDED(hr)) hr = graph_->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events_.GetAddressOf()));
    built_ = hr;
}

CaptureGraph::~CaptureGraph() {
    if (control_) control_->Stop();
    if (grabber_) grabber_->SetCallback(nullptr, 1);
    if (graph_ && camera_) graph_->RemoveFilter(camera_.Get());
    collector_->Release();
}

HRESULT CaptureGraph::Run() { return control_ ? control_->Run() : E_UNEXPECTED; }
HRESULT CaptureGraph::Pause() { return control_ ? control_->Pause() : E_UNEXPECTED; }
HRESULT CaptureGraph::Stop() { return control_ ? control_->Stop() : E_UNEXPECTED; }

HRESULT CaptureGraph::WaitForState(std::chrono::milliseconds timeout, OAFilterState* state) {
    OAFilterState ignored = State_Stopped;
    return control_ ? control_->GetState(static_cast<LONG>(timeout.count()), state ? state : &ignored) : E_UNEXPECTED;
}

std::optional<Frame> CaptureGraph::NextFrame(std::chrono::milliseconds timeout) { return collector_->Next(timeout); }
long CaptureGraph::FramesSoFar() { return collector_->Count(); }

BITMAPINFOHEADER CaptureGraph::ConnectedHeader(GUID* formatType) {
    BITMAPINFOHEADER header{};
    ComPtr<IPin> pin = CapturePin(camera_.Get());
    AM_MEDIA_TYPE type{};
    if (formatType) *formatType = GUID_NULL;
    if (pin && SUCCEEDED(pin->ConnectionMediaType(&type))) {
        header = BitmapHeaderOf(type);
        if (formatType) *formatType = type.formattype;
        UniqueCoTaskMem<BYTE> format(type.pbFormat);
        if (type.pUnk) type.pUnk->Release();
    }
    return header;
}

std::optional<std::tuple<long, LONG_PTR, LONG_PTR>> CaptureGraph::NextEvent(std::chrono::milliseconds timeout) {
    // Wine's GetEvent may return at once with an empty queue: wait in steps.
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (events_) {
        long code = 0;
        LONG_PTR first = 0, second = 0;
        if (events_->GetEvent(&code, &first, &second, 20) == S_OK) {
            events_->FreeEventParams(code, first, second);
            return std::make_tuple(code, first, second);
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        Sleep(10);
    }
    return std::nullopt;
}

}  // namespace vardolin::democam::camtest
