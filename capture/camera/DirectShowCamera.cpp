#include "camera/DirectShowCamera.h"
#include "camera/CameraTexts.h"

#include "camera/AutoFrameSetting.h"
#include "camera/CameraChooser.h"
#include "camera/CameraGraph.h"
#include "camera/VideoDevices.h"

#include <olectl.h>

#include <algorithm>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

struct PropertyPages : CAUUID {
    PropertyPages() noexcept : CAUUID{} {}
    PropertyPages(const PropertyPages&) = delete;
    PropertyPages& operator=(const PropertyPages&) = delete;
    ~PropertyPages() { CoTaskMemFree(pElems); }
};

// True when the object offers at least one property page; fills pages.
bool PagesOf(IUnknown* object, PropertyPages& pages) {
    ComPtr<ISpecifyPropertyPages> specify;
    if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&specify)))) return false;
    return SUCCEEDED(specify->GetPages(&pages)) && pages.cElems > 0;
}

bool HasPages(IUnknown* object) {
    PropertyPages pages;
    return PagesOf(object, pages);
}

void ShowPages(HWND owner, IUnknown* object, const wchar_t* caption) {
    PropertyPages pages;
    if (!PagesOf(object, pages)) return;
    IUnknown* objects[] = {object};
    OleCreatePropertyFrame(owner, 0, 0, caption, 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr);
}

class DirectShowCamera final : public VideoSource {
public:
    void Open(HWND window, UINT message) override {
        notify_ = {window, message};
        OpenFirstThatStarts(InTryOrder(VideoInputDevices(), RememberedCamera()));
    }
    void Poll() override;

    bool CurrentFrame(BitmapPixels& frame) override { return graph_ && graph_->LatestFrame(frame); }
    CameraProblem Problem() const override { return problem_; }

    bool FormatDialogAvailable() override { return graph_ && HasPages(CapturePinOf(device_.Get()).Get()); }
    // The source dialog always has the camera choice and the framing option.
    bool SourceDialogAvailable() override { return graph_ != nullptr; }
    void ShowFormatDialog(HWND owner) override;
    void ShowSourceDialog(HWND owner) override;

private:
    bool StartDevice(const VideoDevice& device, bool choosePreviewFormat);
    void OpenFirstThatStarts(const std::vector<VideoDevice>& devices);
    void Stop() noexcept {
        graph_.reset();
        device_.Reset();
    }

    CameraGraph::Notify notify_{};
    CameraChoice inUse_;  // the device in use, or the one that was lost
    ComPtr<IBaseFilter> device_;
    std::unique_ptr<CameraGraph> graph_;
    CameraProblem problem_ = CameraProblem::NoCamera;
    ULONGLONG startedAt_ = 0;
    ULONGLONG lastAttempt_ = 0;
};

bool DirectShowCamera::StartDevice(const VideoDevice& device, bool choosePreviewFormat) {
    HRESULT bound = S_OK;
    ComPtr<IBaseFilter> filter = BindDevice(device, &bound);
    if (!filter) {
        problem_ = ProblemOfRunFailure(bound);
        return false;
    }
    graph_ = CameraGraph::Start(filter, choosePreviewFormat, notify_, problem_);
    if (!graph_) return false;
    device_ = std::move(filter);
    inUse_ = {device.name, device.path};
    startedAt_ = GetTickCount64();
    return true;
}

void DirectShowCamera::OpenFirstThatStarts(const std::vector<VideoDevice>& devices) {
    Stop();
    lastAttempt_ = GetTickCount64();
    // The reason shown is the first device's: the one the user expects.
    CameraProblem first = CameraProblem::NoCamera;
    for (const VideoDevice& device : devices) {
        if (StartDevice(device, true)) return;
        if (first == CameraProblem::NoCamera) first = problem_;
    }
    problem_ = first;
}

void DirectShowCamera::Poll() {
    ULONGLONG now = GetTickCount64();
    if (graph_) {
        ULONGLONG lastSign = std::max(graph_->LastSampleTick(), startedAt_);
        if (graph_->TakeDeviceLost() || now - lastSign > kSilentCameraMs) {
            Stop();
            problem_ = CameraProblem::Lost;
            lastAttempt_ = now;
        }
        return;
    }
    if (problem_ != CameraProblem::Lost || now - lastAttempt_ < kReconnectIntervalMs) return;
    // The lost camera first when it is back, then the others.
    OpenFirstThatStarts(InTryOrder(InTryOrder(VideoInputDevices(), RememberedCamera()), inUse_));
    if (!graph_) problem_ = CameraProblem::Lost;
}

void DirectShowCamera::ShowFormatDialog(HWND owner) {
    if (!device_) return;
    // A pin's format can only change while the graph is stopped, and the new
    // format needs a new connection: the graph is built again afterwards. The
    // device stays chosen even when that fails, so another format can be tried.
    graph_.reset();
    ShowPages(owner, CapturePinOf(device_.Get()).Get(), kFormatPagesTitle);
    graph_ = CameraGraph::Start(device_, false, notify_, problem_);
    startedAt_ = GetTickCount64();
}

void DirectShowCamera::ShowSourceDialog(HWND owner) {
    // The user picks a camera, also when the current one failed, and reaches
    // its own pages from there.
    std::vector<VideoDevice> devices = VideoInputDevices();
    if (devices.empty()) return;
    std::vector<std::wstring> names = ChooserNames(devices);
    size_t current = FindRemembered(devices, inUse_).value_or(0);
    auto filterOf = [&](size_t index) {
        return device_ && devices[index].path == inUse_.path ? device_ : BindDevice(devices[index]);
    };
    std::vector<std::optional<bool>> hasPages(devices.size());
    auto hasSettings = [&](size_t index) {
        if (!hasPages[index]) hasPages[index] = HasPages(filterOf(index).Get());
        return *hasPages[index];
    };
    auto showSettings = [&](HWND dialog, size_t index) {
        ShowPages(dialog, filterOf(index).Get(), kSourceDialogTitle);
    };
    std::optional<SourceChoice> chosen =
        ChooseSource(owner, names, {current, AutoFrameEnabled()}, hasSettings, showSettings);
    if (!chosen) return;
    RememberAutoFrame(chosen->autoFrame);
    const VideoDevice& camera = devices[chosen->camera];
    RememberCamera(camera);
    CameraChoice choice{camera.name, camera.path};
    if (choice.path != inUse_.path || !graph_) OpenFirstThatStarts(InTryOrder(std::move(devices), choice));
}

}  // namespace

std::unique_ptr<VideoSource> CreateDirectShowCamera() { return std::make_unique<DirectShowCamera>(); }

}  // namespace vardolin::capture
