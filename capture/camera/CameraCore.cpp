#include "capture/camera/CameraCore.h"

#include "autoframe/FaceDetector.h"
#include "capture/camera/CameraGraph.h"
#include "capture/camera/CameraTexts.h"
#include "capture/camera/MediaTypes.h"
#include "capture/camera/VideoDevices.h"
#include "win/Win32Handles.h"

#include <olectl.h>

#include <algorithm>

namespace vardolin::capture {

using Microsoft::WRL::ComPtr;

struct CameraCore::InUse {
    ComPtr<IBaseFilter> filter;  // null when it could not be bound
    VideoDevice device;
};

namespace {

// The property pages an object offers: their class ids, none when it offers none.
struct PropertyPages {
    UniqueCoTaskMem<GUID> ids;
    ULONG count = 0;
};

PropertyPages PagesOf(IUnknown* object) {
    PropertyPages pages;
    ComPtr<ISpecifyPropertyPages> specify;
    CAUUID offered{};
    if (object && SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&specify))) && SUCCEEDED(specify->GetPages(&offered))) {
        pages.ids.reset(offered.pElems);
        if (pages.ids) pages.count = offered.cElems;
    }
    return pages;
}

bool HasPages(IUnknown* object) { return PagesOf(object).count > 0; }

// Modal to owner: the page runs its own message loop on this thread.
void ShowPages(HWND owner, IUnknown* object, const wchar_t* caption) {
    PropertyPages pages = PagesOf(object);
    if (pages.count == 0) return;
    IUnknown* objects[] = {object};
    OleCreatePropertyFrame(owner, 0, 0, caption, 1, objects, pages.count, pages.ids.get(), 0, 0, nullptr);
}

OfferedTypes OfferedByPin(IBaseFilter* filter) {
    return OfferedTypesOf(StreamConfigOf(CapturePinOf(filter).Get()).Get());
}

}  // namespace

CameraCore::CameraCore(std::shared_ptr<CameraSnapshot> snapshot, int photoScale)
    : snapshot_(std::move(snapshot)), scale_(photoScale) {}

CameraCore::~CameraCore() = default;

void CameraCore::Open() {
    Enumerate();
    OpenFirstThatStarts();
}

void CameraCore::Enumerate() {
    devices_ = VideoInputDevices();
    looked_ = true;
    for (const VideoDevice& device : devices_) {
        if (described_.contains(device.path)) continue;
        ComPtr<IBaseFilter> filter = inUse_ && inUse_->device.path == device.path ? inUse_->filter : BindDevice(device);
        described_[device.path] = {device.name, device.path, HasPages(filter.Get()),
                                   LargestDetail(OfferedByPin(filter.Get()).formats)};
    }
}

void CameraCore::DevicesChanged() {
    Enumerate();
    if (graph_) return Publish();
    OpenFirstThatStarts();
}

// The one gate of every start: none while a page is open (it works on the
// filter as it is) and none once the window is closed.
bool CameraCore::MayStart() const { return !pageOpen_ && !snapshot_->Closed(); }

// Runs the camera in use; false (with the reason in problem_) when it does not start.
bool CameraCore::StartOn(int photoScale) {
    graph_.reset();
    if (!MayStart() || !inUse_ || !inUse_->filter) return false;
    graph_ = CameraGraph::Start(inUse_->filter, photoScale, problem_);
    return graph_ != nullptr;
}

void CameraCore::OpenFirstThatStarts() {
    if (!MayStart()) return;
    graph_.reset();
    lastAttempt_ = GetTickCount64();
    std::vector<std::wstring> silent;
    for (const auto& [path, times] : silent_) silent.push_back(path);
    // Without a camera that starts, the reason shown is the first device's:
    // the one the user expects. The dialogs are about that one too.
    std::unique_ptr<InUse> first;
    CameraProblem firstProblem = CameraProblem::NoCamera;
    for (size_t index : TryOrder(devices_, RememberedCamera(), lostPath_, silent)) {
        HRESULT bound = S_OK;
        inUse_ = std::make_unique<InUse>(InUse{BindDevice(devices_[index], &bound), devices_[index]});
        problem_ = ProblemOfRunFailure(bound);
        if (StartOn(scale_)) return Started();
        if (!first || (!first->filter && firstProblem == CameraProblem::NoCamera)) {
            first = std::move(inUse_);
            firstProblem = problem_;
        }
    }
    inUse_ = std::move(first);
    problem_ = firstProblem;
    Publish();
}

// After a start: the graph runs and waits for its first frame.
void CameraCore::Started() {
    startedAt_ = GetTickCount64();
    frameSeen_ = false;
    problem_ = silent_.contains(inUse_->device.path) ? CameraProblem::Silent : CameraProblem::Starting;
    Publish();
}

void CameraCore::Lose() {
    lostPath_ = inUse_->device.path;
    graph_.reset();
    problem_ = CameraProblem::Lost;
    lastAttempt_ = GetTickCount64();
    Publish();
}

ULONGLONG CameraCore::GraceOf(const std::wstring& path) const {
    auto found = silent_.find(path);
    size_t times = found == silent_.end() ? 0 : static_cast<size_t>(found->second);
    return kFirstFrameGraceMs[std::min(times, std::size(kFirstFrameGraceMs) - 1)];
}

void CameraCore::Watch() {
    ULONGLONG now = GetTickCount64();
    if (!graph_) {
        if (now - lastAttempt_ >= kRetryIntervalMs) {
            Enumerate();
            OpenFirstThatStarts();
        }
        return;
    }
    if (graph_->TakeDeviceLost()) return Lose();
    FrameTap& tap = *graph_->Tap();
    const std::wstring& path = inUse_->device.path;
    if (tap.SampleCount() == 0) {
        if (now - startedAt_ <= GraceOf(path)) return;
        // Started but silent: the next camera gets its turn, this one goes last.
        ++silent_[path];
        if (lostPath_ == path) lostPath_.clear();
        Enumerate();
        return OpenFirstThatStarts();
    }
    if (!frameSeen_) {
        frameSeen_ = true;
        silent_.erase(path);
        lostPath_.clear();
        problem_ = CameraProblem::None;
        Publish();
    }
    ULONGLONG last = tap.LastSampleTick();  // may be a moment after now
    if (last < now && now - last > kSilentCameraMs) return Lose();
    LookForFaces(tap, now);
}

// Hands-free capture's eyes: the finder on the latest preview, here on the
// camera thread so the window's thread never waits for it.
void CameraCore::LookForFaces(FrameTap& tap, ULONGLONG now) {
    if (!snapshot_->LookingForFaces() || now - lastFaceLook_ < kFaceLookIntervalMs) return;
    uint64_t frame = tap.SampleCount();
    if (frame == lookedAtFrame_ || !tap.LatestFrame(looking_)) return;
    lastFaceLook_ = now;
    lookedAtFrame_ = frame;
    autoframe::GreyPicture grey = autoframe::GreyFromBgr(looking_.bits.data(), looking_.width, looking_.height,
                                                         looking_.Stride(), autoframe::RowOrder::BottomUp);
    snapshot_->PublishFaces({0, now, autoframe::FindFaces(grey)});
}

void CameraCore::Choose(const std::wstring& path, int photoScale) {
    silent_.erase(path);
    lostPath_.clear();
    bool rescale = photoScale != scale_;
    scale_ = photoScale;
    if (inUse_ && inUse_->device.path == path && inUse_->filter) {
        if (graph_ && !rescale) return Publish();
        // Photos of another size: the camera in use is asked for the format that suits them.
        if (StartOn(scale_)) return Started();
    }
    Enumerate();
    OpenFirstThatStarts();
}

void CameraCore::UseFormat(size_t index) {
    if (!inUse_ || !inUse_->filter) return;
    graph_.reset();
    ComPtr<IAMStreamConfig> config = StreamConfigOf(CapturePinOf(inUse_->filter.Get()).Get());
    OfferedTypes offered = OfferedTypesOf(config.Get());
    if (index < offered.types.size()) config->SetFormat(offered.types[index].get());
    if (StartOn(CameraGraph::kKeepFormat)) return Started();
    Publish();
}

void CameraCore::ShowFormatPages(HWND owner) {
    if (!inUse_ || !inUse_->filter || snapshot_->Closed()) return;
    ComPtr<IPin> pin = CapturePinOf(inUse_->filter.Get());
    pageOpen_ = true;
    graph_.reset();
    problem_ = CameraProblem::Starting;
    Publish();
    ShowPages(owner, pin.Get(), kFormatPagesTitle);
    pageOpen_ = false;
    // Whatever the user did there, the same filter runs again in the format its pin holds now.
    if (StartOn(CameraGraph::kKeepFormat)) return Started();
    Publish();
}

void CameraCore::ShowSourcePages(HWND owner, const std::wstring& path) {
    if (snapshot_->Closed()) return;
    ComPtr<IBaseFilter> filter;
    if (inUse_ && inUse_->device.path == path) filter = inUse_->filter;
    else if (auto listed = std::ranges::find(devices_, path, &VideoDevice::path); listed != devices_.end())
        filter = BindDevice(*listed);
    pageOpen_ = true;
    ShowPages(owner, filter.Get(), kSourceDialogTitle);
    pageOpen_ = false;
}

void CameraCore::Close() {
    graph_.reset();
    inUse_.reset();
    devices_.clear();
    described_.clear();
}

// Why there is no live picture, as the preview says it. A camera lost while
// it ran is called lost until a camera gives a picture again (or the user
// chooses one), whatever fails to start meanwhile.
CameraProblem CameraCore::Shown() const {
    if (graph_ && frameSeen_) return CameraProblem::None;
    return lostPath_.empty() ? problem_ : CameraProblem::Lost;
}

void CameraCore::Publish() {
    CameraView view;
    view.problem = Shown();
    view.looked = looked_;
    for (const VideoDevice& device : devices_) view.cameras.push_back(described_[device.path]);
    if (inUse_) {
        view.path = inUse_->device.path;
        ComPtr<IPin> pin = CapturePinOf(inUse_->filter.Get());
        ComPtr<IAMStreamConfig> config = StreamConfigOf(pin.Get());
        OfferedTypes offered = OfferedTypesOf(config.Get());
        view.pinPages = HasPages(pin.Get());
        view.currentFormat = CurrentFormatIn(config.Get(), offered);
        view.formats = std::move(offered.formats);
    }
    view.tap = graph_ && frameSeen_ ? graph_->Tap() : nullptr;
    snapshot_->Publish(std::move(view));
}

}  // namespace vardolin::capture
