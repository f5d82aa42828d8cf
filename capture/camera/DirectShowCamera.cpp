#include "camera/DirectShowCamera.h"

#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>

// Defined in libstrmiids but not declared by the headers.
extern "C" const CLSID CLSID_SampleGrabber;
extern "C" const CLSID CLSID_NullRenderer;

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

struct MediaType : AM_MEDIA_TYPE {
    MediaType() noexcept : AM_MEDIA_TYPE{} {}
    MediaType(const MediaType&) = delete;
    MediaType& operator=(const MediaType&) = delete;
    ~MediaType() {
        if (cbFormat) CoTaskMemFree(pbFormat);
        if (pUnk) pUnk->Release();
    }
};

struct PropertyPages : CAUUID {
    PropertyPages() noexcept : CAUUID{} {}
    PropertyPages(const PropertyPages&) = delete;
    PropertyPages& operator=(const PropertyPages&) = delete;
    ~PropertyPages() { CoTaskMemFree(pElems); }
};

ComPtr<IBaseFilter> FirstVideoInputFilter() {
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices))))
        return nullptr;
    ComPtr<IEnumMoniker> monikers;
    // S_FALSE (with no enumerator) means the category is empty.
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK || !monikers)
        return nullptr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IBaseFilter> filter;
        if (SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter)))) return filter;
        moniker.Reset();
    }
    return nullptr;
}

// True when the object offers at least one property page; fills pages.
bool PagesOf(IUnknown* object, PropertyPages& pages) {
    ComPtr<ISpecifyPropertyPages> specify;
    if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&specify)))) return false;
    return SUCCEEDED(specify->GetPages(&pages)) && pages.cElems > 0;
}

void ShowPages(HWND owner, IUnknown* object, const wchar_t* caption) {
    PropertyPages pages;
    if (!PagesOf(object, pages)) return;
    IUnknown* objects[] = {object};
    OleCreatePropertyFrame(owner, 0, 0, caption, 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr);
}

class DirectShowCamera final : public VideoSource {
public:
    explicit DirectShowCamera(ComPtr<IBaseFilter> device) : device_(std::move(device)) {}
    ~DirectShowCamera() override { Stop(); }

    bool Start();

    bool CurrentFrame(BitmapPixels& frame) override;
    bool FormatDialogAvailable() override {
        PropertyPages pages;
        return PagesOf(CapturePin().Get(), pages);
    }
    bool SourceDialogAvailable() override {
        PropertyPages pages;
        return PagesOf(device_.Get(), pages);
    }
    void ShowFormatDialog(HWND owner) override;
    void ShowSourceDialog(HWND owner) override { ShowPages(owner, device_.Get(), L"视频调节"); }

private:
    ComPtr<IPin> CapturePin();
    void Stop() noexcept;

    ComPtr<IBaseFilter> device_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<ISampleGrabber> grabber_;
    ComPtr<IMediaControl> control_;
};

bool DirectShowCamera::Start() {
    Stop();
    ComPtr<IBaseFilter> grabberFilter, sink;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph_))) ||
        FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder_))) ||
        FAILED(CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&grabberFilter))) ||
        FAILED(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sink))) ||
        FAILED(builder_->SetFiltergraph(graph_.Get())) || FAILED(grabberFilter.As(&grabber_)))
        return false;

    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_RGB24;
    wanted.formattype = FORMAT_VideoInfo;
    if (FAILED(grabber_->SetMediaType(&wanted)) || FAILED(grabber_->SetBufferSamples(TRUE)) ||
        FAILED(grabber_->SetOneShot(FALSE)))
        return false;

    if (FAILED(graph_->AddFilter(device_.Get(), L"Camera")) || FAILED(graph_->AddFilter(grabberFilter.Get(), L"Grabber")) ||
        FAILED(graph_->AddFilter(sink.Get(), L"Sink")) ||
        FAILED(builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device_.Get(), grabberFilter.Get(),
                                      sink.Get())) ||
        FAILED(graph_.As(&control_)) || FAILED(control_->Run())) {
        Stop();
        return false;
    }
    return true;
}

void DirectShowCamera::Stop() noexcept {
    if (control_) control_->Stop();
    // The device can belong to one graph at a time; take it out before a new one is built.
    if (graph_ && device_) graph_->RemoveFilter(device_.Get());
    control_.Reset();
    grabber_.Reset();
    builder_.Reset();
    graph_.Reset();
}

ComPtr<IPin> DirectShowCamera::CapturePin() {
    ComPtr<IPin> pin;
    ComPtr<ICaptureGraphBuilder2> builder = builder_;
    if (!builder &&
        FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder))))
        return nullptr;
    builder->FindPin(device_.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, FALSE, 0, &pin);
    return pin;
}

void DirectShowCamera::ShowFormatDialog(HWND owner) {
    // A pin's format can only change while the graph is stopped, and the new
    // format needs a new connection: rebuild the graph afterwards.
    Stop();
    ShowPages(owner, CapturePin().Get(), L"视频格式");
    Start();
}

bool DirectShowCamera::CurrentFrame(BitmapPixels& frame) {
    if (!grabber_) return false;
    MediaType type;
    if (FAILED(grabber_->GetConnectedMediaType(&type)) || type.formattype != FORMAT_VideoInfo ||
        type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat)
        return false;
    const BITMAPINFOHEADER header = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    long size = 0;
    if (FAILED(grabber_->GetCurrentBuffer(&size, nullptr)) || size <= 0) return false;
    std::vector<uint8_t> buffer(static_cast<size_t>(size));
    if (FAILED(grabber_->GetCurrentBuffer(&size, reinterpret_cast<long*>(buffer.data())))) return false;
    return CopyVideoSample(header, buffer.data(), buffer.size(), frame);
}

}  // namespace
bool CopyVideoSample(const BITMAPINFOHEADER& header, const uint8_t* sample, size_t size, BitmapPixels& frame) {
    int width = header.biWidth, height = std::abs(header.biHeight);
    if (width <= 0 || height <= 0 || header.biBitCount != 24) return false;
    const size_t stride = static_cast<size_t>(BitmapPixels::StrideOf(width));
    if (size < stride * height) return false;
    frame.Resize(width, height);
    for (int line = 0; line < height; ++line) {
        int y = header.biHeight > 0 ? height - 1 - line : line;
        std::memcpy(frame.Row(y), sample + stride * line, stride);
    }
    return true;
}

std::unique_ptr<VideoSource> OpenFirstVideoInputDevice() {
    ComPtr<IBaseFilter> device = FirstVideoInputFilter();
    if (!device) return nullptr;
    auto camera = std::make_unique<DirectShowCamera>(std::move(device));
    if (!camera->Start()) return nullptr;
    return camera;
}

}  // namespace vardolin::capture
