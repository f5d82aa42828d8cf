#include "democam/OutputPin.h"

#include "democam/CameraFilter.h"
#include "democam/Enumerators.h"
#include "democam/Identity.h"
#include "democam/Switches.h"

#include <uuids.h>

#include <algorithm>
#include <cstring>

#ifndef KSPROPERTY_SUPPORT_GET
#define KSPROPERTY_SUPPORT_GET 1
#endif

namespace vardolin::democam {
namespace {

using Microsoft::WRL::ComPtr;
using Guard = std::lock_guard<std::recursive_mutex>;

constexpr wchar_t kPinName[] = L"Capture";

// The capture graph builder inserts a Smart Tee, which holds on to a sample
// while it copies it, so the stream needs more than one buffer.
constexpr long kMinimumBuffers = 3;

}  // namespace

HRESULT OnePage(REFCLSID page, CAUUID* pages) noexcept {
    if (!pages) return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    pages->cElems = pages->pElems ? 1 : 0;
    if (!pages->pElems) return E_OUTOFMEMORY;
    pages->pElems[0] = page;
    return S_OK;
}

STDMETHODIMP OutputPin::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPin)) *out = static_cast<IPin*>(this);
    else if (IsEqualIID(iid, IID_IAMStreamConfig)) *out = static_cast<IAMStreamConfig*>(this);
    else if (IsEqualIID(iid, IID_IKsPropertySet)) *out = static_cast<IKsPropertySet*>(this);
    else if (IsEqualIID(iid, IID_ISpecifyPropertyPages) && filter_.PinPages())
        *out = static_cast<ISpecifyPropertyPages*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) OutputPin::AddRef() { return filter_.AddRef(); }
STDMETHODIMP_(ULONG) OutputPin::Release() { return filter_.Release(); }

std::vector<VideoFormat> OutputPin::Offered() const {
    Switches switches = ReadSwitches(filter_.Identity());
    return OfferedFormats(switches.formats, switches.formatBlock, switches.sizes);
}

std::vector<VideoFormat> OutputPin::Preferred() const {
    std::vector<VideoFormat> offered = Offered();
    if (chosen_) {
        auto same =
            std::find_if(offered.begin(), offered.end(), [&](const VideoFormat& f) { return f.SameImage(*chosen_); });
        if (same != offered.end()) {
            VideoFormat preferred = *chosen_;
            preferred.block = same->block;  // described as the camera describes formats now
            return {preferred};
        }
    }
    return offered;
}

STDMETHODIMP OutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin) return E_POINTER;
    return vardolin::Guarded([&] {
        Guard guard(filter_.Lock());
        if (connected_) return VFW_E_ALREADY_CONNECTED;
        if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
        for (const VideoFormat& candidate : Preferred()) {
            std::optional<VideoFormat> format = candidate;
            if (type) format = MatchMediaType(*type, std::span(&candidate, 1));
            if (format && SUCCEEDED(TryConnection(receivePin, *format))) return S_OK;
        }
        return VFW_E_NO_ACCEPTABLE_TYPES;
    });
}

HRESULT OutputPin::TryConnection(IPin* receivePin, const VideoFormat& format) {
    if (HRESULT hr = connectionType_.Set(format); FAILED(hr)) return hr;
    HRESULT hr = receivePin->ReceiveConnection(this, &connectionType_.get());
    if (FAILED(hr)) {
        connectionType_.Clear();
        return hr;
    }
    ComPtr<IMemInputPin> receiver;
    hr = receivePin->QueryInterface(IID_PPV_ARGS(&receiver));
    if (SUCCEEDED(hr)) hr = DecideAllocator(receiver.Get(), format);
    if (FAILED(hr)) {
        receivePin->Disconnect();
        ClearConnection();
        return hr;
    }
    connected_ = receivePin;
    receiver_ = receiver;
    connectionFormat_ = format;
    return S_OK;
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* receiver, const VideoFormat& format) {
    ALLOCATOR_PROPERTIES wanted{};
    receiver->GetAllocatorRequirements(&wanted);  // optional for the downstream pin
    wanted.cBuffers = std::max(wanted.cBuffers, kMinimumBuffers);
    wanted.cbBuffer = std::max(wanted.cbBuffer, static_cast<long>(format.ImageSize()));
    wanted.cbAlign = std::max(wanted.cbAlign, 1L);

    // The downstream pin's allocator first, then a plain memory allocator.
    ComPtr<IMemAllocator> candidates[2];
    receiver->GetAllocator(&candidates[0]);
    CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&candidates[1]));
    for (ComPtr<IMemAllocator>& allocator : candidates) {
        ALLOCATOR_PROPERTIES actual{};
        if (!allocator || FAILED(allocator->SetProperties(&wanted, &actual))) continue;
        if (actual.cbBuffer < static_cast<long>(format.ImageSize()) || actual.cBuffers < 2) continue;
        if (FAILED(receiver->NotifyAllocator(allocator.Get(), FALSE))) continue;
        allocator_ = allocator;
        return S_OK;
    }
    return VFW_E_NO_ALLOCATOR;
}

void OutputPin::ClearConnection() noexcept {
    connected_.Reset();
    receiver_.Reset();
    allocator_.Reset();
    connectionType_.Clear();
}

STDMETHODIMP OutputPin::Disconnect() {
    Guard guard(filter_.Lock());
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!connected_) return S_FALSE;
    if (allocator_) allocator_->Decommit();
    ClearConnection();
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    Guard guard(filter_.Lock());
    *pin = connected_.Get();
    if (!*pin) return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    Guard guard(filter_.Lock());
    *type = AM_MEDIA_TYPE{};
    if (!connected_) return VFW_E_NOT_CONNECTED;
    return CopyMediaType(connectionType_.get(), *type);
}

STDMETHODIMP OutputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_OUTPUT;
    wcscpy(info->achName, kPinName);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP OutputPin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kPinName));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, kPinName, sizeof kPinName);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    return vardolin::Guarded([&] { return MatchMediaType(*type, Offered()) ? S_OK : S_FALSE; });
}

STDMETHODIMP OutputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    return vardolin::Guarded([&] {
        Guard guard(filter_.Lock());
        return CreateMediaTypeEnumerator(Preferred(), types);
    });
}

STDMETHODIMP OutputPin::SetFormat(AM_MEDIA_TYPE* type) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    return vardolin::Guarded([&] {
        Guard guard(filter_.Lock());
        if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
        if (!type) {
            chosen_.reset();  // back to the default format
            return S_OK;
        }
        std::optional<VideoFormat> format = MatchMediaType(*type, Offered());
        if (!format) return VFW_E_INVALIDMEDIATYPE;
        chosen_ = format;
        return S_OK;
    });
}

STDMETHODIMP OutputPin::GetFormat(AM_MEDIA_TYPE** type) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    if (!type) return E_POINTER;
    return vardolin::Guarded([&] {
        Guard guard(filter_.Lock());
        if (connected_) return NewMediaType(connectionFormat_, type);
        return NewMediaType(Preferred().front(), type);
    });
}

STDMETHODIMP OutputPin::GetNumberOfCapabilities(int* count, int* size) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    if (!count || !size) return E_POINTER;
    return vardolin::Guarded([&] {
        *count = static_cast<int>(Offered().size());
        *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
        return S_OK;
    });
}

STDMETHODIMP OutputPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    if (!type || !caps) return E_POINTER;
    *type = nullptr;
    if (index < 0) return E_INVALIDARG;
    return vardolin::Guarded([&] {
        std::vector<VideoFormat> offered = Offered();
        if (static_cast<size_t>(index) >= offered.size()) return S_FALSE;
        VIDEO_STREAM_CONFIG_CAPS described = DescribeCaps(offered[index]);
        std::memcpy(caps, &described, sizeof described);
        return NewMediaType(offered[index], type);
    });
}

STDMETHODIMP OutputPin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
    HRESULT hr = filter_.CallingThread();
    return FAILED(hr) ? hr : E_PROP_SET_UNSUPPORTED;
}

STDMETHODIMP OutputPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    if (!IsEqualGUID(set, AMPROPSETID_Pin)) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (!data) return E_POINTER;
    if (size < sizeof(GUID)) return E_UNEXPECTED;
    std::memcpy(data, &PIN_CATEGORY_CAPTURE, sizeof(GUID));
    if (returned) *returned = sizeof(GUID);
    return S_OK;
}

STDMETHODIMP OutputPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    if (!IsEqualGUID(set, AMPROPSETID_Pin)) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

STDMETHODIMP OutputPin::GetPages(CAUUID* pages) {
    if (HRESULT hr = filter_.CallingThread(); FAILED(hr)) return hr;
    return OnePage(kFormatPageClsid, pages);
}

}  // namespace vardolin::democam
