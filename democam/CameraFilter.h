// The demo camera: a live video capture source filter with one output pin,
// picture controls (brightness, contrast, scene) and the test switches of
// Switches.h.
#pragma once

#include "win/ComObject.h"
#include "democam/Identity.h"
#include "democam/OutputPin.h"
#include "democam/Streamer.h"

#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include <mutex>
#include <string>

namespace vardolin::democam {

// Counts the cameras opened in this process (a Pause or Run from stopped
// that succeeded), for tests: the export DemoCamStarts answers it.
void CountStart() noexcept;
long StartsCounted() noexcept;

class CameraFilter final : public vardolin::CountedComObject<CameraFilter, IBaseFilter, IAMVideoProcAmp,
                                                             ISpecifyPropertyPages, IAMFilterMiscFlags> {
public:
    explicit CameraFilter(const CameraIdentity& identity);
    ~CameraFilter();

    void* Interface(REFIID iid) noexcept;

    // Shared with the pin: one lock for the filter's and the pin's state.
    std::recursive_mutex& Lock() noexcept { return lock_; }
    FILTER_STATE State() const noexcept { return state_; }
    const CameraIdentity& Identity() const noexcept { return identity_; }
    // Whether the pin offers property pages (fixed for the object's life).
    bool PinPages() const noexcept { return pinPages_; }
    // S_OK on the thread that created the filter; with the strict switch,
    // RPC_E_WRONG_THREAD on any other (the control interfaces ask first).
    HRESULT CallingThread() const noexcept;

    // IPersist, IMediaFilter
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // IAMVideoProcAmp: brightness, contrast and the camera's own scene
    // control (kSceneProperty).
    STDMETHODIMP GetRange(long property, long* min, long* max, long* step, long* byDefault, long* flags) override;
    STDMETHODIMP Set(long property, long value, long flags) override;
    STDMETHODIMP Get(long property, long* value, long* flags) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

private:
    HRESULT DeviceAvailable(bool opening) const;
    HRESULT PauseLocked();
    // The control behind a property that RangeOf knows.
    std::atomic<int>& Control(long property) noexcept;

    const CameraIdentity& identity_;
    bool pinPages_ = true;
    bool filterPages_ = true;
    bool strictThreads_ = false;
    DWORD creator_ = GetCurrentThreadId();
    std::recursive_mutex lock_;
    FILTER_STATE state_ = State_Stopped;
    Microsoft::WRL::ComPtr<IReferenceClock> clock_;
    IFilterGraph* graph_ = nullptr;      // not counted: the graph holds us
    IMediaEventSink* events_ = nullptr;  // the same graph's, not counted
    std::wstring name_;
    OutputPin pin_;
    CameraControls controls_;
    Streamer streamer_;
};

}  // namespace vardolin::democam
