#include "capture/camera/FrameSink.h"

#include "capture/camera/MediaTypes.h"
#include "win/ComAdopt.h"
#include "win/SnapshotEnumerator.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace vardolin::capture {

// {C652AC76-49D0-4BAE-8B83-2577D9059D58}
const CLSID kFrameSinkClassId = {0xc652ac76, 0x49d0, 0x4bae, {0x8b, 0x83, 0x25, 0x77, 0xd9, 0x05, 0x9d, 0x58}};

namespace {

using Microsoft::WRL::ComPtr;

constexpr const wchar_t* kPinName = L"In";

// The partial types the pin proposes: each subtype we convert ourselves.
HRESULT HandOutSubtype(const GUID& subtype, AM_MEDIA_TYPE** out) noexcept {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type) return E_OUTOFMEMORY;
    *type = AM_MEDIA_TYPE{};
    type->majortype = MEDIATYPE_Video;
    type->subtype = subtype;
    type->bFixedSizeSamples = TRUE;
    *out = type;
    return S_OK;
}

HRESULT CopyText(const wchar_t* text, wchar_t* out, size_t capacity) {
    if (!out) return E_POINTER;
    wcsncpy(out, text, capacity - 1);
    out[capacity - 1] = L'\0';
    return S_OK;
}

class FrameSink;

// The one input pin. It lives as long as its filter and counts references on
// the filter's behalf.
class SinkPin final : public IPin, public IMemInputPin {
public:
    explicit SinkPin(FrameSink& filter) : filter_(filter) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }  // an input pin is connected to
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override {
        if (!direction) return E_POINTER;
        *direction = PINDIR_INPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override {
        return type && LayoutOfType(*type) ? S_OK : S_FALSE;
    }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return S_OK; }  // a live camera's stream has no end to wait for
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

private:
    FrameSink& filter_;
};

class FrameSink final : public vardolin::CountedComObject<FrameSink, IBaseFilter> {
public:
    explicit FrameSink(std::shared_ptr<FrameTap> tap) : tap_(std::move(tap)), pin_(*this) {}

    void* Interface(REFIID iid) noexcept {
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter)
            return static_cast<IBaseFilter*>(this);
        return nullptr;
    }

    // IPersist
    STDMETHODIMP GetClassID(CLSID* id) override {
        if (!id) return E_POINTER;
        *id = kFrameSinkClassId;
        return S_OK;
    }
    // IMediaFilter. Stop waits for a Receive in progress.
    STDMETHODIMP Stop() override {
        std::lock_guard<std::mutex> filter(filterLock_);
        state_ = State_Stopped;
        std::lock_guard<std::mutex> streaming(streamingLock_);
        return S_OK;
    }
    STDMETHODIMP Pause() override { return SetState(State_Paused); }
    STDMETHODIMP Run(REFERENCE_TIME) override { return SetState(State_Running); }
    // Never cueing: a live picture is shown as it comes.
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override {
        if (!state) return E_POINTER;
        *state = state_;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override {
        std::lock_guard<std::mutex> held(filterLock_);
        clock_ = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override {
        if (!clock) return E_POINTER;
        std::lock_guard<std::mutex> held(filterLock_);
        *clock = clock_.Get();
        if (*clock) (*clock)->AddRef();
        return S_OK;
    }
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override {
        if (!pins) return E_POINTER;
        using Pins = SnapshotEnumerator<IEnumPins, ComPtr<IPin>, IPin*, HandOutReference<ComPtr<IPin>, IPin>>;
        return Guarded([&] { return Pins::Create({ComPtr<IPin>(static_cast<IPin*>(&pin_))}, pins); });
    }
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override {
        if (!id || !pin) return E_POINTER;
        *pin = nullptr;
        if (std::wcscmp(id, kPinName) != 0) return VFW_E_NOT_FOUND;
        *pin = &pin_;
        pin_.AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override {
        if (!info) return E_POINTER;
        std::lock_guard<std::mutex> held(filterLock_);
        CopyText(name_.c_str(), info->achName, std::size(info->achName));
        info->pGraph = graph_;
        if (graph_) graph_->AddRef();
        return S_OK;
    }
    // The graph owns its filters: the sink keeps no reference of its own to it.
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
        std::lock_guard<std::mutex> held(filterLock_);
        graph_ = graph;
        name_ = name ? name : L"";
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

private:
    friend class SinkPin;

    HRESULT SetState(FILTER_STATE state) {
        std::lock_guard<std::mutex> held(filterLock_);
        state_ = state;
        return S_OK;
    }

    std::shared_ptr<FrameTap> tap_;
    SinkPin pin_;

    // Under the filter lock: the state's changes, the graph, the clock and the connection.
    std::mutex filterLock_;
    std::atomic<FILTER_STATE> state_{State_Stopped};
    std::atomic<bool> flushing_{false};
    IFilterGraph* graph_ = nullptr;
    std::wstring name_;
    ComPtr<IReferenceClock> clock_;
    ComPtr<IPin> connected_;
    ComPtr<IMemAllocator> allocator_;

    // The connection's type, also changed by a type that comes with a
    // sample; its own lock, as Receive may not take the filter lock.
    std::mutex typeLock_;
    MediaType type_;

    // Under the streaming lock: the layout frames come in.
    std::mutex streamingLock_;
    SampleLayout layout_{PixelFormat::Rgb24, 0, 0, false};
};

STDMETHODIMP SinkPin::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin) *out = static_cast<IPin*>(this);
    else if (iid == IID_IMemInputPin) *out = static_cast<IMemInputPin*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) SinkPin::AddRef() { return filter_.AddRef(); }
STDMETHODIMP_(ULONG) SinkPin::Release() { return filter_.Release(); }

STDMETHODIMP SinkPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type) return E_POINTER;
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    if (filter_.connected_) return VFW_E_ALREADY_CONNECTED;
    if (filter_.state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    std::optional<SampleLayout> layout = LayoutOfType(*type);
    if (!layout) return VFW_E_TYPE_NOT_ACCEPTED;
    {
        std::lock_guard<std::mutex> typeHeld(filter_.typeLock_);
        FreeMediaTypeFields(filter_.type_);
        if (HRESULT hr = CopyMediaType(*type, filter_.type_); FAILED(hr)) return hr;
    }
    {
        std::lock_guard<std::mutex> streaming(filter_.streamingLock_);
        filter_.layout_ = *layout;
    }
    filter_.connected_ = connector;
    return S_OK;
}

STDMETHODIMP SinkPin::Disconnect() {
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    if (filter_.state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!filter_.connected_) return S_FALSE;
    filter_.connected_.Reset();
    filter_.allocator_.Reset();
    std::lock_guard<std::mutex> typeHeld(filter_.typeLock_);
    FreeMediaTypeFields(filter_.type_);
    return S_OK;
}

STDMETHODIMP SinkPin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    *pin = filter_.connected_.Get();
    if (!*pin) return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP SinkPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    *type = AM_MEDIA_TYPE{};
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    if (!filter_.connected_) return VFW_E_NOT_CONNECTED;
    std::lock_guard<std::mutex> typeHeld(filter_.typeLock_);
    return CopyMediaType(filter_.type_, *type);
}

STDMETHODIMP SinkPin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_INPUT;
    return CopyText(kPinName, info->achName, std::size(info->achName));
}

STDMETHODIMP SinkPin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    size_t bytes = (std::wcslen(kPinName) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, kPinName, bytes);
    return S_OK;
}

STDMETHODIMP SinkPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    using Types = SnapshotEnumerator<IEnumMediaTypes, GUID, AM_MEDIA_TYPE*, HandOutSubtype>;
    return Guarded([&] {
        std::vector<GUID> subtypes;
        for (const CameraFormat& format : CameraFormats()) subtypes.push_back(format.subtype);
        return Types::Create(std::move(subtypes), types);
    });
}

STDMETHODIMP SinkPin::BeginFlush() {
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    filter_.flushing_ = true;
    std::lock_guard<std::mutex> streaming(filter_.streamingLock_);  // the Receive in progress ends first
    return S_OK;
}

STDMETHODIMP SinkPin::EndFlush() {
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    filter_.flushing_ = false;
    return S_OK;
}

STDMETHODIMP SinkPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator) return E_POINTER;
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    if (!filter_.allocator_) {
        HRESULT hr =
            CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_.allocator_));
        if (FAILED(hr)) return hr;
    }
    *allocator = filter_.allocator_.Get();
    (*allocator)->AddRef();
    return S_OK;
}

STDMETHODIMP SinkPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
    if (!allocator) return E_POINTER;
    std::lock_guard<std::mutex> held(filter_.filterLock_);
    filter_.allocator_ = allocator;
    return S_OK;
}

// On the streaming thread. Takes only the streaming lock (and the type's,
// briefly): Stop holds the filter lock while it waits for this.
STDMETHODIMP SinkPin::Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    return Guarded([&]() -> HRESULT {
        std::lock_guard<std::mutex> streaming(filter_.streamingLock_);
        if (filter_.state_ == State_Stopped) return VFW_E_WRONG_STATE;
        if (filter_.flushing_) return S_FALSE;
        // The upstream filter changed the format (a new size or stride): the
        // type comes with this sample and holds from it on.
        AM_MEDIA_TYPE* changed = nullptr;
        if (sample->GetMediaType(&changed) == S_OK && changed) {
            OwnedMediaType owned(changed);
            std::optional<SampleLayout> layout = LayoutOfType(*changed);
            if (!layout) return VFW_E_INVALIDMEDIATYPE;
            filter_.layout_ = *layout;
            std::lock_guard<std::mutex> typeHeld(filter_.typeLock_);
            FreeMediaTypeFields(filter_.type_);
            CopyMediaType(*changed, filter_.type_);
        }
        BYTE* data = nullptr;
        long length = sample->GetActualDataLength();
        if (FAILED(sample->GetPointer(&data)) || !data || length <= 0) return S_OK;
        filter_.tap_->Deliver(filter_.layout_, data, static_cast<size_t>(length));
        return S_OK;
    });
}

STDMETHODIMP SinkPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
    if (!samples || !processed) return E_POINTER;
    for (*processed = 0; *processed < count; ++*processed)
        if (HRESULT hr = Receive(samples[*processed]); hr != S_OK) return hr;
    return S_OK;
}

}  // namespace

ComPtr<IBaseFilter> CreateFrameSink(std::shared_ptr<FrameTap> tap) {
    return AdoptReference<IBaseFilter>(new FrameSink(std::move(tap)));
}

ComPtr<IPin> FrameSinkPin(IBaseFilter* sink) {
    ComPtr<IPin> pin;
    if (sink) sink->FindPin(kPinName, &pin);
    return pin;
}

}  // namespace vardolin::capture
