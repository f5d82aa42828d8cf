// The camera's one output pin: offers the formats, connects through the
// downstream pin's allocator, and answers the capture-category query.
#pragma once

#include "democam/MediaType.h"
#include "democam/VideoFormat.h"

#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include <optional>
#include <vector>

namespace vardolin::democam {

class CameraFilter;

// Lives inside its filter and shares the filter's reference count.
class OutputPin final : public IPin, public IAMStreamConfig, public IKsPropertySet, public ISpecifyPropertyPages {
public:
    explicit OutputPin(CameraFilter& filter) noexcept : filter_(filter) {}

    // What the running stream needs; null allocator when not connected.
    IMemAllocator* Allocator() const noexcept { return allocator_.Get(); }
    IMemInputPin* Receiver() const noexcept { return receiver_.Get(); }
    const VideoFormat& ConnectionFormat() const noexcept { return connectionFormat_; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig: a format set here is used from the next connection on.
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IKsPropertySet
    STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

private:
    std::vector<VideoFormat> Offered() const;
    // The offered formats in the order a connection tries them.
    std::vector<VideoFormat> Preferred() const;
    HRESULT TryConnection(IPin* receivePin, const VideoFormat& format);
    HRESULT DecideAllocator(IMemInputPin* receiver, const VideoFormat& format);
    void ClearConnection() noexcept;

    CameraFilter& filter_;
    Microsoft::WRL::ComPtr<IPin> connected_;
    Microsoft::WRL::ComPtr<IMemInputPin> receiver_;
    Microsoft::WRL::ComPtr<IMemAllocator> allocator_;
    OwnedMediaType connectionType_;
    VideoFormat connectionFormat_;
    std::optional<VideoFormat> chosen_;
};

// Allocates a CAUUID holding one page.
HRESULT OnePage(REFCLSID page, CAUUID* pages) noexcept;

}  // namespace vardolin::democam
