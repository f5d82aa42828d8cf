#include "camera/VideoCaptureControl.h"

#include "BaseWindow.h"
#include "ModuleInstance.h"
#include "UntrappedError.h"
#include "Win32Handles.h"
#include "camera/CameraControlObject.h"

namespace vardolin::capture {
namespace {

constexpr const wchar_t* kClassName = L"VardolinVideoCapture";
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kGraphEvent = WM_APP + 1;

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
        source_->Open(window_, kGraphEvent);
        live_ = source_->Problem() == CameraProblem::None;
        SetTimer(window_, kPreviewTimer, kPreviewIntervalMs, nullptr);
    }
    ~VideoCaptureControl() override {
        if (!window_) return;
        KillTimer(window_, kPreviewTimer);
        DestroyWindow(window_);
    }

    HWND Window() const noexcept override { return window_; }
    Microsoft::WRL::ComPtr<IDispatch> Automation() override {
        return CreateCameraControlObject(source_, window_ ? GetAncestor(window_, GA_ROOT) : nullptr);
    }
    std::wstring Problem() const override { return ProblemText(source_->Problem()); }

private:
    friend class BaseWindow<VideoCaptureControl>;
    static WNDCLASSEXW WindowClass() noexcept { return NamedWindowClass(kClassName, IDC_ARROW); }
    LRESULT OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept {
        return ReportUntrapped(GetAncestor(window, GA_ROOT));
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        HWND window = window_;
        switch (message) {
        case kGraphEvent:
            Follow(window);
            return 0;
        case WM_TIMER:
            if (wParam != kPreviewTimer) return 0;
            Follow(window);
            if (live_ && !FullyCovered(window)) {
                if (!source_->CurrentFrame(frame_)) frame_ = {};
                InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers everything
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            Paint(window, dc);
            EndPaint(window, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    // Lets the source follow its camera and tells the parent when the live
    // picture stops or comes back.
    void Follow(HWND window) {
        source_->Poll();
        bool live = source_->Problem() == CameraProblem::None;
        if (live == live_) return;
        live_ = live;
        if (!live) frame_ = {};
        InvalidateRect(window, nullptr, FALSE);
        WORD code = live ? camera_notification::kLive : camera_notification::kStopped;
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
                     reinterpret_cast<LPARAM>(window));
    }

    void Paint(HWND window, HDC dc) {
        RECT client{};
        GetClientRect(window, &client);
        DrawBitmapPixels(dc, 0, 0, frame_);
        ExcludeClipRect(dc, 0, 0, frame_.width, frame_.height);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (live_) return;
        ScopedSelection font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, ProblemText(source_->Problem()), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    std::shared_ptr<VideoSource> source_;
    BitmapPixels frame_;
    HFONT font_ = nullptr;  // given by the parent with WM_SETFONT, not owned
    bool live_ = false;
};

}  // namespace

std::unique_ptr<CameraControlWindow> CreateVideoCaptureControl(HWND parent, const RECT& bounds, int controlId,
                                                               std::shared_ptr<VideoSource> source) {
    return std::make_unique<VideoCaptureControl>(parent, bounds, controlId, std::move(source));
}

}  // namespace vardolin::capture
