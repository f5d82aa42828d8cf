#include "democam/CameraFilter.h"

#include "democam/Enumerators.h"
#include "democam/FrameWriter.h"
#include "democam/Switches.h"

#include <atomic>
#include <cwchar>

namespace vardolin::democam {
namespace {

// What a USB camera's driver reports when another program holds it, and
// once it has been removed.
constexpr HRESULT kDeviceBusy = HRESULT_FROM_WIN32(ERROR_BUSY);
constexpr HRESULT kDeviceGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

struct ControlRange {
    long min, max, byDefault;
};

const ControlRange* RangeOf(long property) noexcept {
    static constexpr ControlRange kBrightness{kMinBrightness, kMaxBrightness, kDefaultBrightness};
    static constexpr ControlRange kContrast{kMinContrast, kMaxContrast, kDefaultContrast};
    static constexpr ControlRange kScene{static_cast<long>(Scene::Portrait), static_cast<long>(Scene::Photograph),
                                         static_cast<long>(Scene::Portrait)};
    if (property == VideoProcAmp_Brightness) return &kBrightness;
    if (property == VideoProcAmp_Contrast) return &kContrast;
    if (property == kSceneProperty) return &kScene;
    return nullptr;
}

std::atomic<long> starts{0};

}  // namespace

void CountStart() noexcept { ++starts; }
long StartsCounted() noexcept { return starts; }

CameraFilter::CameraFilter(const CameraIdentity& identity) : identity_(identity), pin_(*this), streamer_(controls_) {
    controls_.brightness = kDefaultBrightness;
    controls_.contrast = kDefaultContrast;
    Switches switches = ReadSwitches(identity_);
    pinPages_ = switches.pinPages;
    filterPages_ = switches.filterPages;
    strictThreads_ = switches.strictThreads;
}

HRESULT CameraFilter::CallingThread() const noexcept {
    return strictThreads_ && GetCurrentThreadId() != creator_ ? RPC_E_WRONG_THREAD : S_OK;
}

CameraFilter::~CameraFilter() { streamer_.Stop(); }

void* CameraFilter::Interface(REFIID iid) noexcept {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IMediaFilter) ||
        IsEqualIID(iid, IID_IBaseFilter))
        return static_cast<IBaseFilter*>(this);
    if (IsEqualIID(iid, IID_IAMVideoProcAmp)) return static_cast<IAMVideoProcAmp*>(this);
    if (IsEqualIID(iid, IID_ISpecifyPropertyPages) && filterPages_) return static_cast<ISpecifyPropertyPages*>(this);
    if (IsEqualIID(iid, IID_IAMFilterMiscFlags)) return static_cast<IAMFilterMiscFlags*>(this);
    return nullptr;
}

STDMETHODIMP CameraFilter::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = identity_.clsid;
    return S_OK;
}

// A removed device fails every start; a device another program holds fails
// only to open (a camera we already stream from stays ours).
HRESULT CameraFilter::DeviceAvailable(bool opening) const {
    return vardolin::Guarded([&] {
        Switches switches = ReadSwitches(identity_);
        if (switches.unplugged) return kDeviceGone;
        return opening && InUseNow(switches) ? kDeviceBusy : S_OK;
    });
}

STDMETHODIMP CameraFilter::Stop() {
    std::lock_guard guard(lock_);
    streamer_.Stop();
    if (pin_.Allocator()) pin_.Allocator()->Decommit();
    controls_.deviceLostReported = false;
    state_ = State_Stopped;
    return S_OK;
}

HRESULT CameraFilter::PauseLocked() {
    if (state_ == State_Running) {
        streamer_.Pause();
    } else if (state_ == State_Stopped) {
        if (HRESULT hr = DeviceAvailable(true); FAILED(hr)) return hr;
        if (pin_.Allocator())
            if (HRESULT hr = pin_.Allocator()->Commit(); FAILED(hr)) return hr;
        CountStart();
    }
    state_ = State_Paused;
    return S_OK;
}

STDMETHODIMP CameraFilter::Pause() {
    std::lock_guard guard(lock_);
    return PauseLocked();
}

STDMETHODIMP CameraFilter::Run(REFERENCE_TIME start) {
    std::lock_guard guard(lock_);
    if (HRESULT hr = DeviceAvailable(state_ == State_Stopped); FAILED(hr)) return hr;
    if (state_ == State_Stopped)
        if (HRESULT hr = PauseLocked(); FAILED(hr)) return hr;
    if (pin_.Allocator() && pin_.Receiver()) {
        if (HRESULT hr = pin_.Allocator()->Commit(); FAILED(hr)) return hr;
        HRESULT hr = vardolin::Guarded([&] {
            StreamSetup setup{pin_.Allocator(),
                              pin_.Receiver(),
                              clock_,
                              pin_.ConnectionFormat(),
                              &identity_,
                              events_,
                              static_cast<IBaseFilter*>(this)};
            return streamer_.Run(std::move(setup), start);
        });
        if (FAILED(hr)) return hr;
    }
    state_ = State_Running;
    return S_OK;
}

STDMETHODIMP CameraFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    std::lock_guard guard(lock_);
    *state = state_;
    // A live source has nothing to show while paused.
    return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP CameraFilter::SetSyncSource(IReferenceClock* clock) {
    std::lock_guard guard(lock_);
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP CameraFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    std::lock_guard guard(lock_);
    *clock = clock_.Get();
    if (*clock) (*clock)->AddRef();
    return S_OK;
}

STDMETHODIMP CameraFilter::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    IPin* const all[] = {&pin_};
    return CreatePinEnumerator(all, pins);
}

STDMETHODIMP CameraFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    *pin = nullptr;
    if (wcscmp(id, L"Capture") != 0) return VFW_E_NOT_FOUND;
    *pin = &pin_;
    pin_.AddRef();
    return S_OK;
}

STDMETHODIMP CameraFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard guard(lock_);
    *info = FILTER_INFO{};
    wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
}

STDMETHODIMP CameraFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    return vardolin::Guarded([&] {
        std::lock_guard guard(lock_);
        graph_ = graph;
        name_ = name ? name : L"";
        events_ = nullptr;
        // Kept without a reference, as the graph pointer itself: the graph
        // owns the filter, and a counted pointer would keep both alive.
        if (graph_ && SUCCEEDED(graph_->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&events_))))
            events_->Release();
        return S_OK;
    });
}

std::atomic<int>& CameraFilter::Control(long property) noexcept {
    if (property == VideoProcAmp_Brightness) return controls_.brightness;
    if (property == VideoProcAmp_Contrast) return controls_.contrast;
    return controls_.scene;
}

STDMETHODIMP CameraFilter::GetRange(long property, long* min, long* max, long* step, long* byDefault, long* flags) {
    if (HRESULT hr = CallingThread(); FAILED(hr)) return hr;
    if (!min || !max || !step || !byDefault || !flags) return E_POINTER;
    const ControlRange* range = RangeOf(property);
    if (!range) return E_PROP_ID_UNSUPPORTED;
    *min = range->min;
    *max = range->max;
    *step = 1;
    *byDefault = range->byDefault;
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

STDMETHODIMP CameraFilter::Set(long property, long value, long) {
    if (HRESULT hr = CallingThread(); FAILED(hr)) return hr;
    const ControlRange* range = RangeOf(property);
    if (!range) return E_PROP_ID_UNSUPPORTED;
    if (value < range->min || value > range->max) return E_INVALIDARG;
    Control(property) = static_cast<int>(value);
    return S_OK;
}

STDMETHODIMP CameraFilter::Get(long property, long* value, long* flags) {
    if (HRESULT hr = CallingThread(); FAILED(hr)) return hr;
    if (!value || !flags) return E_POINTER;
    if (!RangeOf(property)) return E_PROP_ID_UNSUPPORTED;
    *value = Control(property);
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

STDMETHODIMP CameraFilter::GetPages(CAUUID* pages) {
    if (HRESULT hr = CallingThread(); FAILED(hr)) return hr;
    return OnePage(kPicturePageClsid, pages);
}

}  // namespace vardolin::democam
