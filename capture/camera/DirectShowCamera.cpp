#include "capture/camera/DirectShowCamera.h"
#include "capture/camera/CameraTexts.h"

#include "win/Settings.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/CameraGraph.h"
#include "capture/camera/CameraWorker.h"
#include "capture/camera/FormatListDialog.h"
#include "capture/camera/MediaTypes.h"
#include "capture/camera/VideoDevices.h"

#include "win/Win32Handles.h"

#include <olectl.h>

#include <algorithm>
#include <mutex>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

// How often the worker looks at the running camera (events, first frame, silence).
constexpr DWORD kWatchIntervalMs = 250;
// How long the window waits for a graph to stop before a driver's format
// pages, which can only change a stopped pin.
constexpr DWORD kStopForPagesMs = 5000;

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

void ShowPages(HWND owner, IUnknown* object, const wchar_t* caption) {
    PropertyPages pages = PagesOf(object);
    if (pages.count == 0) return;
    IUnknown* objects[] = {object};
    OleCreatePropertyFrame(owner, 0, 0, caption, 1, objects, pages.count, pages.ids.get(), 0, 0, nullptr);
}

// What the window's thread may see of the camera: written by the worker,
// read by the window under the lock.
struct CameraView {
    CameraProblem problem = CameraProblem::Starting;
    bool listed = false;            // at least one camera is there to choose
    std::shared_ptr<FrameTap> tap;  // of the running graph
    ComPtr<IBaseFilter> device;     // the camera the dialogs are about
    std::wstring path;              // its key
};

// The camera as the worker runs it. Every method but View and Tap runs on
// the worker thread.
class CameraCore {
public:
    CameraCore(HWND window, UINT message, bool listed, int scale) : window_(window), message_(message), scale_(scale) {
        view_.listed = listed;
        view_.problem = listed ? CameraProblem::Starting : CameraProblem::NoCamera;
    }

    CameraView View() {
        std::lock_guard<std::mutex> held(lock_);
        return view_;
    }
    std::shared_ptr<FrameTap> Tap() {
        std::lock_guard<std::mutex> held(lock_);
        return view_.tap;
    }
    CameraProblem Problem() {
        std::lock_guard<std::mutex> held(lock_);
        return view_.problem;
    }

    void Open() { OpenFirstThatStarts(TryOrder(VideoInputDevices())); }
    void Watch();
    // A device arrived or went: a camera without a picture is looked for now.
    void DevicesChanged() {
        if (!graph_) Retry();
    }
    // Until the worker has switched to the camera or format the user chose,
    // no frame of the one before is offered.
    void Switching() {
        HWND window = nullptr;
        {
            std::lock_guard<std::mutex> held(lock_);
            view_.problem = CameraProblem::Starting;
            view_.tap.reset();
            window = window_;
        }
        PostMessageW(window, message_, 0, 0);
    }
    // The user chose this camera (already remembered): it goes first.
    void Choose(const std::wstring& path) {
        std::erase(silent_, path);
        lostPath_.clear();
        if (graph_ && path == current_.path) return Publish();
        OpenFirstThatStarts(TryOrder(VideoInputDevices()));
    }
    void StopGraph() {
        graph_.reset();
        frameSeen_ = false;
        problem_ = CameraProblem::Starting;
        Publish();
    }
    // The same device again, in the format it now holds.
    void Restart() {
        if (!device_) return Retry();
        graph_ = CameraGraph::Start(device_, CameraGraph::kKeepFormat, problem_);
        Started(GetTickCount64());
    }
    // Photos of another size: the camera in use is asked for the format that suits them.
    void Rescale(int scale) {
        scale_ = scale;
        if (!device_) return Retry();
        graph_.reset();
        graph_ = CameraGraph::Start(device_, scale_, problem_);
        Started(GetTickCount64());
    }
    void UseFormat(size_t index) {
        StopGraph();
        ComPtr<IAMStreamConfig> config = StreamConfigOf(CapturePinOf(device_.Get()).Get());
        OfferedTypes offered = OfferedTypesOf(config.Get());
        if (index < offered.types.size()) config->SetFormat(offered.types[index].get());
        Restart();
    }
    // The last job: everything of the camera is released on this thread.
    void Close() {
        graph_.reset();
        device_.Reset();
        std::lock_guard<std::mutex> held(lock_);
        view_ = CameraView{};
        window_ = nullptr;
    }

private:
    std::vector<VideoDevice> TryOrder(std::vector<VideoDevice> devices) const;
    void OpenFirstThatStarts(const std::vector<VideoDevice>& devices);
    void Started(ULONGLONG now);
    void Retry();
    void Lose(ULONGLONG now) {
        lostPath_ = current_.path;
        graph_.reset();
        problem_ = CameraProblem::Lost;
        lastAttempt_ = now;
        Publish();
    }
    void Publish();

    std::mutex lock_;
    CameraView view_;
    HWND window_;
    UINT message_;
    int scale_;  // the photo scale the camera's format is chosen for

    // The worker's own state.
    ComPtr<IBaseFilter> device_;
    VideoDevice current_;
    bool listed_ = false;
    std::unique_ptr<CameraGraph> graph_;
    CameraProblem problem_ = CameraProblem::Starting;
    bool frameSeen_ = false;
    ULONGLONG startedAt_ = 0;
    ULONGLONG lastAttempt_ = 0;
    std::wstring lostPath_;             // tried first when it is back
    std::vector<std::wstring> silent_;  // started but sent nothing: tried last
};

std::vector<VideoDevice> CameraCore::TryOrder(std::vector<VideoDevice> devices) const {
    std::optional<size_t> remembered = FindRemembered(devices, RememberedCamera());
    std::vector<std::pair<int, size_t>> ranks;
    for (size_t i = 0; i < devices.size(); ++i) {
        const std::wstring& path = devices[i].path;
        int rank = std::ranges::find(silent_, path) != silent_.end() ? 3
                   : !lostPath_.empty() && path == lostPath_         ? 0
                   : remembered == i                                 ? 1
                                                                     : 2;
        ranks.emplace_back(rank, i);
    }
    std::ranges::stable_sort(ranks, {}, &std::pair<int, size_t>::first);
    std::vector<VideoDevice> ordered;
    for (auto [rank, i] : ranks) ordered.push_back(std::move(devices[i]));
    return ordered;
}

void CameraCore::OpenFirstThatStarts(const std::vector<VideoDevice>& devices) {
    graph_.reset();
    ULONGLONG now = GetTickCount64();
    lastAttempt_ = now;
    listed_ = !devices.empty();
    // Without a camera that starts, the reason shown is the first device's:
    // the one the user expects. The dialogs are about that one too.
    CameraProblem first = CameraProblem::NoCamera;
    ComPtr<IBaseFilter> firstDevice;
    VideoDevice firstEntry;
    for (const VideoDevice& device : devices) {
        HRESULT bound = S_OK;
        ComPtr<IBaseFilter> filter = BindDevice(device, &bound);
        CameraProblem problem = ProblemOfRunFailure(bound);
        if (filter) graph_ = CameraGraph::Start(filter, scale_, problem);
        if (graph_) {
            device_ = std::move(filter);
            current_ = device;
            return Started(now);
        }
        if (!firstDevice && first == CameraProblem::NoCamera) {
            first = problem;
            firstDevice = filter;
            firstEntry = device;
        }
    }
    // A lost camera that is not back yet is still called lost.
    problem_ = problem_ == CameraProblem::Lost && !graph_ ? CameraProblem::Lost : first;
    device_ = std::move(firstDevice);
    current_ = std::move(firstEntry);
    Publish();
}

// After a start: the graph runs and waits for its first frame, or the start failed.
void CameraCore::Started(ULONGLONG now) {
    startedAt_ = now;
    frameSeen_ = false;
    if (graph_) {
        // Until the first frame: a camera that was silent before says so, a
        // lost one coming back is still called lost, any other is starting.
        if (std::ranges::find(silent_, current_.path) != silent_.end()) problem_ = CameraProblem::Silent;
        else if (problem_ != CameraProblem::Lost) problem_ = CameraProblem::Starting;
    }
    Publish();
}

void CameraCore::Retry() {
    CameraProblem before = problem_;
    OpenFirstThatStarts(TryOrder(VideoInputDevices()));
    if (!graph_ && before == CameraProblem::Lost) problem_ = CameraProblem::Lost;
}

void CameraCore::Watch() {
    ULONGLONG now = GetTickCount64();
    if (!graph_) {
        if (now - lastAttempt_ >= kRetryIntervalMs) Retry();
        return;
    }
    if (graph_->TakeDeviceLost()) return Lose(now);
    const FrameTap& tap = *graph_->Tap();
    if (tap.SampleCount() == 0) {
        if (now - startedAt_ <= kFirstFrameGraceMs) return;
        // Started but silent: the next camera gets its turn, this one goes last.
        if (std::ranges::find(silent_, current_.path) == silent_.end()) silent_.push_back(current_.path);
        if (lostPath_ == current_.path) lostPath_.clear();
        return Retry();
    }
    if (!frameSeen_) {
        frameSeen_ = true;
        std::erase(silent_, current_.path);
        lostPath_.clear();
        problem_ = CameraProblem::None;
        Publish();
    }
    ULONGLONG last = tap.LastSampleTick();  // may be a moment after now
    if (last < now && now - last > kSilentCameraMs) Lose(now);
}

void CameraCore::Publish() {
    HWND window = nullptr;
    {
        std::lock_guard<std::mutex> held(lock_);
        if (!window_) return;
        view_.problem = problem_;
        view_.listed = listed_ || device_;
        view_.tap = graph_ && frameSeen_ ? graph_->Tap() : nullptr;
        view_.device = device_;
        view_.path = current_.path;
        window = window_;
    }
    PostMessageW(window, message_, 0, 0);
}

// The window's side: answers from what the worker published and hands every
// step that talks to a camera to the worker.
class DirectShowCamera final : public VideoSource {
public:
    ~DirectShowCamera() override {
        if (!worker_) return;
        worker_->Post([core = core_] { core->Close(); });
    }

    void Open(HWND window, UINT message) override {
        // Whether there is a camera at all answers the dialogs' availability
        // from the start; the worker opens one.
        scale_ = PhotoScale();
        core_ = std::make_shared<CameraCore>(window, message, !VideoInputDevices().empty(), scale_);
        worker_ = std::make_unique<CameraWorker>([core = core_] { core->Watch(); }, kWatchIntervalMs);
        worker_->Post([core = core_] { core->Open(); });
    }
    void DevicesChanged() override {
        if (worker_) worker_->Post([core = core_] { core->DevicesChanged(); });
    }

    uint64_t FrameNumber() const override {
        std::shared_ptr<FrameTap> tap = core_ ? core_->Tap() : nullptr;
        return tap ? tap->SampleCount() : 0;
    }
    bool CurrentFrame(BitmapPixels& frame) override {
        std::shared_ptr<FrameTap> tap = core_ ? core_->Tap() : nullptr;
        return tap && tap->LatestFrame(frame);
    }
    bool TakeStill(BitmapPixels& frame) override {
        std::shared_ptr<FrameTap> tap = core_ ? core_->Tap() : nullptr;
        auto detail = std::make_shared<BitmapPixels>();
        if (!tap || !tap->LatestFrame(frame, scale_ > 1 ? detail.get() : nullptr)) return false;
        stillDetail_ = detail->Empty() ? nullptr : std::move(detail);
        return true;
    }
    std::shared_ptr<const BitmapPixels> StillDetail() const override { return stillDetail_; }
    CameraProblem Problem() const override { return core_ ? core_->Problem() : CameraProblem::NoCamera; }

    // Both dialogs are there whenever a camera is: another one can be chosen,
    // and a camera without format pages has our list.
    bool FormatDialogAvailable() override { return core_ && core_->View().listed; }
    bool SourceDialogAvailable() override { return core_ && core_->View().listed; }
    void ShowFormatDialog(HWND owner) override;
    void ShowSourceDialog(HWND owner) override;

private:
    std::shared_ptr<CameraCore> core_;
    std::unique_ptr<CameraWorker> worker_;
    int scale_ = 1;
    std::shared_ptr<const BitmapPixels> stillDetail_;
};

void DirectShowCamera::ShowFormatDialog(HWND owner) {
    CameraView view = core_ ? core_->View() : CameraView{};
    if (!view.device) return;
    ComPtr<IPin> pin = CapturePinOf(view.device.Get());
    if (HasPages(pin.Get())) {
        // A driver's pages change the pin's format, which needs the graph
        // stopped; the graph is built again afterwards. The device stays
        // chosen even when that fails, so another format can be tried.
        bool enabled = owner && IsWindowEnabled(owner);
        if (enabled) EnableWindow(owner, FALSE);
        worker_->RunAndPump([core = core_] { core->StopGraph(); }, kStopForPagesMs);
        if (enabled) EnableWindow(owner, TRUE);
        ShowPages(owner, pin.Get(), kFormatPagesTitle);
        worker_->Post([core = core_] { core->Restart(); });
        return;
    }
    // No pages of its own: our list of what the pin offers.
    ComPtr<IAMStreamConfig> config = StreamConfigOf(pin.Get());
    OfferedTypes offered = OfferedTypesOf(config.Get());
    if (auto chosen = ChooseFormat(owner, offered.formats, CurrentFormatIn(config.Get(), offered))) {
        core_->Switching();
        worker_->Post([core = core_, index = *chosen] { core->UseFormat(index); });
    }
}

void DirectShowCamera::ShowSourceDialog(HWND owner) {
    // The user picks a camera, also when the current one failed, and reaches
    // its own pages from there when it has any.
    std::vector<VideoDevice> devices = VideoInputDevices();
    if (devices.empty() || !core_) return;
    CameraView view = core_->View();
    std::vector<std::wstring> names = ChooserNames(devices);
    auto byPath = std::ranges::find(devices, view.path, &VideoDevice::path);
    size_t current = byPath != devices.end() ? static_cast<size_t>(byPath - devices.begin())
                                             : FindRemembered(devices, RememberedCamera()).value_or(0);
    auto filterOf = [&](size_t index) {
        return view.device && devices[index].path == view.path ? view.device : BindDevice(devices[index]);
    };
    auto hasSettings = [&](size_t index) { return HasPages(filterOf(index).Get()); };
    auto showSettings = [&](HWND dialog, size_t index) {
        ShowPages(dialog, filterOf(index).Get(), kSourceDialogTitle);
    };
    auto detailOf = [&](size_t index) {
        OfferedTypes offered = OfferedTypesOf(StreamConfigOf(CapturePinOf(filterOf(index).Get()).Get()).Get());
        DetailOffered largest = LargestDetail(offered.formats);
        return CameraDetail{largest.scale, largest.width, largest.height};
    };
    std::optional<SourceChoice> chosen =
        ChooseSource(owner, names, {current, AutoFrameEnabled(), PhotoScale()}, hasSettings, showSettings, detailOf);
    if (!chosen) return;
    RememberAutoFrame(chosen->autoFrame);
    RememberPhotoScale(chosen->photoScale);
    const VideoDevice& camera = devices[chosen->camera];
    RememberCamera({camera.name, camera.path});
    bool rescale = chosen->photoScale != scale_;
    scale_ = chosen->photoScale;
    if (camera.path != view.path || rescale) core_->Switching();
    if (rescale) worker_->Post([core = core_, scale = scale_] { core->Rescale(scale); });
    worker_->Post([core = core_, path = camera.path] { core->Choose(path); });
}

}  // namespace

std::unique_ptr<VideoSource> CreateDirectShowCamera() { return std::make_unique<DirectShowCamera>(); }

}  // namespace vardolin::capture
