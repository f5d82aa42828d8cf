// The window thread's side of the camera: it answers from the published
// snapshot and hands every step that touches a camera object to the camera
// thread (the contract in CameraWorker.h). Nothing here calls DirectShow.
#include "capture/camera/DirectShowCamera.h"

#include "win/Settings.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/CameraCore.h"
#include "capture/camera/CameraGraph.h"
#include "capture/camera/CameraSnapshot.h"
#include "capture/camera/CameraWorker.h"
#include "capture/camera/FormatListDialog.h"
#include "capture/camera/VideoDevices.h"

#include <algorithm>

namespace vardolin::capture {
namespace {

class DirectShowCamera final : public VideoSource {
public:
    ~DirectShowCamera() override { Close(); }

    void Open(HWND window, UINT message) override {
        scale_ = PhotoScale();
        snapshot_ = std::make_shared<CameraSnapshot>(window, message);
        core_ = std::make_shared<CameraCore>(snapshot_, scale_);
        worker_ = std::make_shared<CameraWorker>([core = core_] { core->Watch(); }, kWatchIntervalMs);
        worker_->Post([core = core_] { core->Open(); });
    }
    void Close() override;
    void DevicesChanged() override {
        Post([](CameraCore& core) { core.DevicesChanged(); });
    }

    uint64_t FrameNumber() const override {
        std::shared_ptr<FrameTap> tap = snapshot_ ? snapshot_->Tap() : nullptr;
        return tap ? tap->SampleCount() : 0;
    }
    bool CurrentFrame(BitmapPixels& frame) override {
        std::shared_ptr<FrameTap> tap = snapshot_ ? snapshot_->Tap() : nullptr;
        return tap && tap->LatestFrame(frame);
    }
    bool TakeStill(BitmapPixels& frame) override {
        std::shared_ptr<FrameTap> tap = snapshot_ ? snapshot_->Tap() : nullptr;
        auto detail = std::make_shared<BitmapPixels>();
        if (!tap || !tap->LatestFrame(frame, scale_ > 1 ? detail.get() : nullptr)) return false;
        stillDetail_ = detail->Empty() ? nullptr : std::move(detail);
        return true;
    }
    std::shared_ptr<const BitmapPixels> StillDetail() const override { return stillDetail_; }
    CameraProblem Problem() const override { return snapshot_ ? snapshot_->Problem() : CameraProblem::NoCamera; }
    void LookForFaces(bool on) override {
        if (snapshot_) snapshot_->LookForFaces(on);
    }
    FaceLook Faces() const override { return snapshot_ ? snapshot_->Faces() : FaceLook{}; }

    // Both dialogs are there whenever a camera is (another one can be
    // chosen, and a camera without format pages has our list), and until the
    // camera thread has looked.
    bool FormatDialogAvailable() override { return Listed(); }
    bool SourceDialogAvailable() override { return Listed(); }
    void ShowFormatDialog(HWND owner) override;
    void ShowSourceDialog(HWND owner) override;

private:
    bool Listed() const {
        if (!snapshot_) return false;
        CameraView view = snapshot_->Read();
        return !view.looked || !view.cameras.empty() || !view.path.empty();
    }
    void Post(std::function<void(CameraCore&)> job) {
        if (worker_) worker_->Post([core = core_, job = std::move(job)] { job(*core); });
    }
    // Runs job on the camera thread as a modal dialog of owner: the owner is
    // disabled and this thread's messages flow until the job ends or the
    // window closes.
    void RunModal(HWND owner, std::function<void(CameraCore&)> job);

    std::shared_ptr<CameraSnapshot> snapshot_;
    std::shared_ptr<CameraCore> core_;  // used on the camera thread only
    std::shared_ptr<CameraWorker> worker_;
    int scale_ = 1;
    int pagesShown_ = 0;  // modal jobs under way
    std::shared_ptr<const BitmapPixels> stillDetail_;
};

// A property frame is a dialog box of the camera thread.
BOOL CALLBACK CancelPage(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32770") == 0) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CancelPages(const CameraWorker& worker) {
    if (worker.ThreadId()) EnumThreadWindows(worker.ThreadId(), CancelPage, 0);
}

void DirectShowCamera::Close() {
    if (!worker_) return;
    // From here on no job starts a camera; a page still open is cancelled
    // and its camera released with the rest.
    snapshot_->Close();
    if (pagesShown_ > 0) CancelPages(*worker_);
    Post([](CameraCore& core) { core.Close(); });
    core_.reset();
    worker_.reset();  // the thread ends by itself once its jobs are done
}

void DirectShowCamera::RunModal(HWND owner, std::function<void(CameraCore&)> job) {
    std::shared_ptr<CameraWorker> worker = worker_;  // Close may come meanwhile
    if (!worker) return;
    bool enabled = owner && IsWindowEnabled(owner);
    if (enabled) EnableWindow(owner, FALSE);
    ++pagesShown_;
    bool ended = worker->RunAndPump([core = core_, job = std::move(job)] { job(*core); },
                                    [snapshot = snapshot_] { return snapshot->Closed(); });
    --pagesShown_;
    // Given up (the window closed, or this thread was asked to quit): no
    // page stays open behind the window.
    if (!ended) CancelPages(*worker);
    if (enabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

void DirectShowCamera::ShowFormatDialog(HWND owner) {
    if (!snapshot_) return;
    CameraView view = snapshot_->Read();
    if (view.path.empty()) return;
    if (view.pinPages) return RunModal(owner, [owner](CameraCore& core) { core.ShowFormatPages(owner); });
    // No pages of its own: our list of what the pin offers.
    if (auto chosen = ChooseFormat(owner, view.formats, view.currentFormat)) {
        snapshot_->Switching();
        Post([index = *chosen](CameraCore& core) { core.UseFormat(index); });
    }
}

void DirectShowCamera::ShowSourceDialog(HWND owner) {
    // The user picks a camera, also when the current one failed, and reaches
    // its own pages from there when it has any.
    if (!snapshot_) return;
    CameraView view = snapshot_->Read();
    if (view.cameras.empty()) return;
    std::vector<VideoDevice> devices;
    for (const ListedCamera& camera : view.cameras) devices.push_back({camera.name, camera.path, nullptr});
    std::vector<std::wstring> names = ChooserNames(devices);
    auto byPath = std::ranges::find(devices, view.path, &VideoDevice::path);
    size_t current = byPath != devices.end() ? static_cast<size_t>(byPath - devices.begin())
                                             : FindRemembered(devices, RememberedCamera()).value_or(0);
    auto hasSettings = [&](size_t index) { return view.cameras[index].hasPages; };
    auto showSettings = [&](HWND dialog, size_t index) {
        RunModal(dialog,
                 [dialog, path = devices[index].path](CameraCore& core) { core.ShowSourcePages(dialog, path); });
    };
    auto detailOf = [&](size_t index) {
        const DetailOffered& largest = view.cameras[index].detail;
        return CameraDetail{largest.scale, largest.width, largest.height};
    };
    std::optional<SourceChoice> chosen = ChooseSource(
        owner, names, {current, AutoFrameEnabled(), PhotoScale(), PhotoChecksEnabled(), HandsFreeEnabled()},
        hasSettings, showSettings, detailOf);
    if (!chosen || snapshot_->Closed()) return;
    RememberAutoFrame(chosen->autoFrame);
    RememberPhotoChecks(chosen->photoChecks);
    RememberHandsFree(chosen->handsFree);
    RememberPhotoScale(chosen->photoScale);
    const VideoDevice& camera = devices[chosen->camera];
    RememberCamera({camera.name, camera.path});
    bool rescale = chosen->photoScale != scale_;
    scale_ = chosen->photoScale;
    if (camera.path != view.path || rescale) snapshot_->Switching();
    Post([path = camera.path, scale = scale_](CameraCore& core) { core.Choose(path, scale); });
}

}  // namespace

std::unique_ptr<VideoSource> CreateDirectShowCamera() { return std::make_unique<DirectShowCamera>(); }

}  // namespace vardolin::capture
