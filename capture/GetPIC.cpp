#include "capture/GetPIC.h"

#include "capture/ComponentState.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "win/DialogKeyboard.h"
#include "capture/GetPICLoaded.h"
#include "roster/ListDrawingTools.h"
#include "roster/RosterTexts.h"
#include "win/ModuleInstance.h"
#include "win/Settings.h"
#include "win/UntrappedError.h"
#include "win/WindowPlacement.h"
#include "capture/photo/TakePhoto.h"

#include <commctrl.h>

#include <atomic>

namespace vardolin::capture {
namespace {

constexpr const wchar_t* kWindowClass = L"VardolinGetPIC";
// The look at the photo folder begun at load is done.
constexpr UINT kPhotoFolderChecked = WM_APP + 2;
// A new listing of the photo folder is in: the marks of who is done changed.
constexpr UINT kDoneMarksListed = WM_APP + 3;
constexpr UINT_PTR kHandsFreeTimer = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

std::atomic<int> loadedWindows{0};

SIZE OuterSize(HWND window) noexcept {
    return OuterSizeForClient(window, {TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips)});
}

void RegisterWindowClasses() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    GetPIC::RegisterWindowClass();
    PictureBox::RegisterWindowClass();
}

}  // namespace

GetPIC::GetPIC(ComponentState& component) : component_(component) {}

GetPIC::~GetPIC() { Unload(); }

int GetPIC::LoadedCount() noexcept { return loadedWindows.load(); }

bool GetPIC::IsLoaded() const noexcept { return loaded_ && loaded_->window; }

HWND GetPIC::Window() const noexcept { return loaded_ ? loaded_->window : nullptr; }

HWND GetPIC::Control(ControlId id) const noexcept {
    if (!loaded_) return nullptr;
    auto it = loaded_->controls.find(id);
    return it == loaded_->controls.end() ? nullptr : it->second;
}

PictureBox* GetPIC::Picture1() noexcept { return loaded_ ? loaded_->picture1.get() : nullptr; }
PictureBox* GetPIC::Picture2() noexcept { return loaded_ ? loaded_->picture2.get() : nullptr; }
CameraControlWindow* GetPIC::Camera() noexcept { return loaded_ ? loaded_->camera.get() : nullptr; }
const roster::ListDrawingTools* GetPIC::ListTools() const noexcept {
    return loaded_ ? loaded_->listTools.get() : nullptr;
}
const roster::DoneMarks* GetPIC::DoneMarks() const noexcept { return loaded_ ? &loaded_->doneMarks : nullptr; }
HMENU GetPIC::MenuThe() const noexcept { return loaded_ ? loaded_->menuThe.get() : nullptr; }

void GetPIC::Load() {
    if (IsLoaded()) return;
    RegisterWindowClasses();
    loaded_ = std::make_unique<Loaded>();
    DpiUnawareScope unaware;  // everything the load creates is scaled by the system
    ModuleActivationScope commonControls6;
    try {
        CreateWindowAndControls();
    } catch (...) {
        Unload();
        throw;
    }
    loaded_->keyboard = std::make_unique<DialogKeyboard>(loaded_->window);
    RunUntrapped(loaded_->window, [this] { Form_Load(); });
}

void GetPIC::Show() {
    Load();
    HWND window = Window();
    if (!window) return;  // the window was closed while it loaded
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    BringWindowToTop(window);
}

void GetPIC::Hide() {
    if (HWND window = Window()) ShowWindow(window, SW_HIDE);
}

void GetPIC::Unload() {
    if (HWND window = Window()) DestroyWindow(window);
    loaded_.reset();
}

void GetPIC::CreateWindowAndControls() {
    HWND window = CreateWindowExW(0, kWindowClass, kProductTitle, kWindowStyle, 0, 0, 0, 0, nullptr, nullptr,
                                  ModuleInstance(), nullptr);
    if (!window) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    loaded_->window = window;
    Attach(window);
    ++loadedWindows;  // from here on, destroying the window counts it off

    // Sized once the window exists, by its own frame.
    SIZE outer = OuterSize(window);
    POINT at = CentredOnHostMonitor(outer);
    SetWindowPos(window, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ControlSpec& layout : GetPICControls()) CreateControl(layout);
    AddTooltips();
    loaded_->menuThe = CreateMenuThe();
}

void GetPIC::Form_Load() {
    // Without error trapping: a failure here is reported and ends the load.
    loaded_->listTools = std::make_unique<roster::ListDrawingTools>(Control(ControlId::List1));

    RestoreTopmostOption();
    RestoreDirectDeleteOption();
    RunOrSkip([&] {
        for (ControlId id : {ControlId::CmdFormatDlg, ControlId::CmdSourceDlg, ControlId::CmdSaveDIB})
            EnableWindow(Control(id), FALSE);
    });
    RestoreQuality();
    EnableCameraButtons();
    RunOrSkip([&] { loaded_->photoFolderCheck = PhotoFolderCheck::Start(loaded_->window, kPhotoFolderChecked); });
    RelistDoneMarks();
    RunOrSkip([&] {
        loaded_->handsFreeOn = HandsFreeEnabled();
        SetTimer(loaded_->window, kHandsFreeTimer, kHandsFreeTickMs, nullptr);
    });
}

void GetPIC::RelistDoneMarks() noexcept {
    RunOrSkip([&] { loaded_->doneMarks.Relist(loaded_->window, kDoneMarksListed); });
}

void GetPIC::TellPhotoFolderProblem() noexcept {
    RunOrSkip([&] {
        if (!loaded_->photoFolderCheck) return;
        std::wstring notice = loaded_->photoFolderCheck->TakeNotice();
        if (notice.empty()) return;
        Cancel_SetTop();
        component_.environment.ShowMessageBox(loaded_->window, notice, roster::kPhotoFolderTitle,
                                              MB_OK | MB_ICONEXCLAMATION);
        SetTop();
    });
}

void GetPIC::EnableCameraButtons() {
    AskCameraDialogs();
    if (TestOrAssumeTrue([&] {
            return IsWindowEnabled(Control(ControlId::CmdFormatDlg)) &&
                   IsWindowEnabled(Control(ControlId::CmdSourceDlg));
        })) {
        RunOrSkip([&] { EnableWindow(Control(ControlId::CmdSaveDIB), TRUE); });
        RunOrSkip([&] { ShowWindow(Control(ControlId::Picture1), SW_HIDE); });
        // The camera opens in the background: taking a photo waits for its first frame.
        RunOrSkip([&] {
            if (!loaded_->camera->Problem().empty()) EnableWindow(Control(ControlId::CmdSaveDIB), FALSE);
        });
    } else {
        // The empty still box covers the preview: it says why there is no camera picture.
        RunOrSkip([&] { loaded_->picture1->SetNotice(loaded_->camera->Problem()); });
    }
}

void GetPIC::AskCameraDialogs() {
    Microsoft::WRL::ComPtr<IDispatch> control;
    RunOrSkip([&] { control = CameraDispatch(); });
    CameraAutomation camera(control);
    bool format = TestOrAssumeTrue([&] { return camera.FormatDialogAvailable(); });
    RunOrSkip([&] { EnableWindow(Control(ControlId::CmdFormatDlg), format); });
    bool source = TestOrAssumeTrue([&] { return camera.SourceDialogAvailable(); });
    RunOrSkip([&] { EnableWindow(Control(ControlId::CmdSourceDlg), source); });
}  // the reference to the control goes here

void GetPIC::FollowCameraState(WORD notification) {
    // A camera may appear, start, stop or go at any time: the dialogs follow
    // what the control offers now, and taking a photo needs a live picture.
    // A still already taken stays usable.
    AskCameraDialogs();
    if (!OffersNewPhoto(Control(ControlId::CmdSaveDIB))) return;
    bool offered =
        IsWindowEnabled(Control(ControlId::CmdFormatDlg)) && IsWindowEnabled(Control(ControlId::CmdSourceDlg));
    bool live = offered && notification == camera_notification::kLive;
    if (GetWindowLongW(Control(ControlId::Picture1), GWL_STYLE) & WS_VISIBLE) {
        // The still box covers the preview because there was no camera: it
        // says why until the live picture comes.
        loaded_->picture1->SetNotice(live ? L"" : loaded_->camera->Problem());
        if (live) ShowWindow(Control(ControlId::Picture1), SW_HIDE);
    }
    EnableWindow(Control(ControlId::CmdSaveDIB), live);
}

Microsoft::WRL::ComPtr<IDispatch> GetPIC::CameraDispatch() {
    if (!loaded_ || !loaded_->camera) throw ComponentError::ObjectRequired();
    return loaded_->camera->Automation();
}

void GetPIC::Form_Resize() {
    SIZE outer = OuterSize(loaded_->window);
    RECT now{};
    GetWindowRect(loaded_->window, &now);
    if (now.right - now.left == outer.cx && now.bottom - now.top == outer.cy) return;
    SetWindowPos(loaded_->window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GetPIC::Form_Unload() noexcept {
    loaded_->keyboard.reset();
    loaded_->listTools.reset();  // pen deleted, the list's DC released: once per load
    loaded_->tooltip.reset();
    loaded_->camera.reset();
    --loadedWindows;
}

WNDCLASSEXW GetPIC::WindowClass() noexcept {
    WNDCLASSEXW wc = NamedWindowClass(kWindowClass, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    return wc;
}

// The loaded state (fonts, pictures, timers) goes with the window.
void GetPIC::OnDetached() noexcept { loaded_.reset(); }

LRESULT GetPIC::OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept { return ReportUntrapped(window); }

LRESULT GetPIC::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = loaded_->window;
    switch (message) {
    case WM_COMMAND:
        if (lParam) OnCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Control(ControlId::HScroll1)) OnHScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) Form_Resize();
        return 0;
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) == loaded_->menuThe.get()) UpdateMenuThe(loaded_->menuThe.get());
        return 0;
    case kPhotoFolderChecked: TellPhotoFolderProblem(); return 0;
    case kDoneMarksListed: InvalidateRect(Control(ControlId::List1), nullptr, TRUE); return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTBOX || item->hwndItem != Control(ControlId::List1)) return FALSE;
        roster::DrawRosterEntry(*item, loaded_->doneMarks);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kHandsFreeTimer) HandsFree_Timer();
        return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace vardolin::capture
