#include "capture/camera/VideoCaptureControl.h"

#include "win/BaseWindow.h"
#include "win/ModuleInstance.h"
#include "win/UntrappedError.h"
#include "win/Win32Handles.h"
#include "capture/camera/CameraControlObject.h"

#include <dbt.h>

#include <algorithm>

namespace vardolin::capture {
namespace {

constexpr const wchar_t* kClassName = L"VardolinVideoCapture";
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kCameraChanged = WM_APP + 1;

using UniqueDeviceNotification = UniqueHandle<ClosedBy<HDEVNOTIFY, UnregisterDeviceNotification>>;

// The device interface class of capture devices (KSCATEGORY_CAPTURE), under
// which every webcam's driver registers.
constexpr GUID kCaptureDeviceInterface = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// Asks the system to tell window when a video capture device arrives or goes.
UniqueDeviceNotification NotifyVideoDevices(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureDeviceInterface;
    return UniqueDeviceNotification(RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
}

bool FullyCovered(HWND window) {
    WindowDc dc(window);  // clipped to what siblings and the parent leave visible
    RECT box{};
    return !dc || GetClipBox(dc.get(), &box) == NULLREGION;
}

class VideoCaptureControl final : public CameraControlWindow, public BaseWindow<VideoCaptureControl> {
public:
    VideoCaptureControl(HWND parent, const RECT& bounds, int controlId, std::shared_ptr<VideoSource> source)
        : source_(std::move(source)) {
        RegisterWindowClass();
        CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), ModuleInstance(), this);
        if (!window_) return;
        devices_ = NotifyVideoDevices(window_);
        source_->Open(window_, kCameraChanged);
        problem_ = source_->Problem();
        available_[0] = source_->FormatDialogAvailable();
        available_[1] = source_->SourceDialogAvailable();
        SetTimer(window_, kPreviewTimer, kPreviewIntervalMs, nullptr);
    }
    ~VideoCaptureControl() override {
        source_->Close();
        if (!window_) return;
        devices_.reset();
        KillTimer(window_, kPreviewTimer);
        DestroyWindow(window_);
    }

    HWND Window() const noexcept override { return window_; }
    Microsoft::WRL::ComPtr<IDispatch> Automation() override {
        return CreateCameraControlObject(source_, window_ ? GetAncestor(window_, GA_ROOT) : nullptr);
    }
    std::wstring Problem() const override { return ProblemText(source_->Problem()); }
    std::shared_ptr<const BitmapPixels> StillDetail() const override { return source_->StillDetail(); }
    void LookForFaces(bool on) override { source_->LookForFaces(on); }
    FaceLook Faces() const override { return source_->Faces(); }
    void ShowCountdown(int number) override {
        if (number == countdown_) return;
        countdown_ = number;
        if (window_) InvalidateRect(window_, nullptr, FALSE);
    }

private:
    friend class BaseWindow<VideoCaptureControl>;
    static WNDCLASSEXW WindowClass() noexcept { return NamedWindowClass(kClassName, IDC_ARROW); }
    LRESULT OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept {
        return ReportUntrapped(GetAncestor(window, GA_ROOT));
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        HWND window = window_;
        switch (message) {
        case kCameraChanged: Follow(window); return 0;
        case WM_DEVICECHANGE:
            if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) source_->DevicesChanged();
            return TRUE;
        case WM_TIMER:
            if (wParam != kPreviewTimer) return 0;
            ShowNewFrame(window);
            return 0;
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
        case WM_SETFONT: font_ = reinterpret_cast<HFONT>(wParam); return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            Paint(window, dc);
            EndPaint(window, &ps);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    // The only work of a preview tick: a frame that changed, copied and
    // scaled, when the preview can be seen.
    void ShowNewFrame(HWND window) {
        if (problem_ != CameraProblem::None || FullyCovered(window)) return;
        uint64_t number = source_->FrameNumber();
        if (number == shownFrame_) return;
        shownFrame_ = number;
        if (!source_->CurrentFrame(frame_)) frame_ = {};
        InvalidateRect(window, nullptr, FALSE);
    }

    // Takes what the source says now and tells the parent that the camera
    // changed: the live picture stopped or came back, or the dialogs'
    // availability may differ.
    void Follow(HWND window) {
        CameraProblem problem = source_->Problem();
        bool availability[] = {source_->FormatDialogAvailable(), source_->SourceDialogAvailable()};
        bool same = problem == problem_ && std::equal(std::begin(availability), std::end(availability), available_);
        if (same) return;
        problem_ = problem;
        std::copy(std::begin(availability), std::end(availability), available_);
        if (problem != CameraProblem::None) {
            frame_ = {};
            shownFrame_ = 0;
        }
        InvalidateRect(window, nullptr, FALSE);
        WORD code = problem == CameraProblem::None ? camera_notification::kLive : camera_notification::kStopped;
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
                     reinterpret_cast<LPARAM>(window));
    }

    void Paint(HWND window, HDC dc) {
        RECT client{};
        GetClientRect(window, &client);
        DrawBitmapPixels(dc, 0, 0, frame_);
        ExcludeClipRect(dc, 0, 0, frame_.width, frame_.height);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (problem_ == CameraProblem::None) return PaintCountdown(dc);
        ScopedSelection font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, ProblemText(problem_), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // Hands-free capture's 3, 2, 1: large, in the middle of the live picture.
    void PaintCountdown(HDC dc) {
        if (countdown_ <= 0 || frame_.Empty()) return;
        SelectClipRgn(dc, nullptr);
        UniqueFont font(CreateFontW(-frame_.height / 3, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
        ScopedSelection selected(dc, font ? static_cast<HGDIOBJ>(font.get()) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        wchar_t text[2] = {static_cast<wchar_t>(L'0' + countdown_), L'\0'};
        RECT box{0, 0, frame_.width, frame_.height};
        RECT shadow{2, 2, frame_.width + 2, frame_.height + 2};
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextW(dc, text, 1, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, text, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    std::shared_ptr<VideoSource> source_;
    UniqueDeviceNotification devices_;
    int countdown_ = 0;
    BitmapPixels frame_;
    uint64_t shownFrame_ = 0;
    HFONT font_ = nullptr;  // given by the parent with WM_SETFONT, not owned
    CameraProblem problem_ = CameraProblem::Starting;
    bool available_[2] = {};  // the format and the source dialog, as last told
};

}  // namespace

std::unique_ptr<CameraControlWindow> CreateVideoCaptureControl(HWND parent, const RECT& bounds, int controlId,
                                                               std::shared_ptr<VideoSource> source) {
    return std::make_unique<VideoCaptureControl>(parent, bounds, controlId, std::move(source));
}

}  // namespace vardolin::capture
