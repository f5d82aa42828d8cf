#include "GetPIC.h"

#include "Component.h"
#include "ComponentError.h"
#include "ContinueOnError.h"
#include "DialogKeyboard.h"
#include "GetPICExtensions.h"
#include "ListDrawingTools.h"
#include "ModuleInstance.h"
#include "Placeholder.h"
#include "UntrappedError.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <map>

namespace vardolin::capture {
namespace {

constexpr const wchar_t* kWindowClass = L"VardolinGetPIC";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

std::atomic<int> loadedWindows{0};

SIZE OuterSize() noexcept {
    return {TwipsToPixels(kOuterWidthTwips), TwipsToPixels(kOuterHeightTwips)};
}

void RegisterWindowClasses(WNDPROC windowProc) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);  // a second registration fails harmlessly
    PictureBox::RegisterWindowClass();
}

UniqueFont CreateSongtiFont(int pixelHeight) {
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    wcscpy_s(font.lfFaceName, L"宋体");
    return UniqueFont(CreateFontIndirectW(&font));
}

int MouseButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

int ShiftState(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
           ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

int ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return 4;
    default: return 0;
    }
}

}  // namespace

GetPICExtensions& Extensions() {
    static GetPICExtensions extensions;
    return extensions;
}

// Everything that lives from the window's load to its unload.
struct GetPIC::Loaded {
    HWND window = nullptr;  // destroyed by closing, never by this object
    std::map<ControlId, HWND> controls;
    UniqueFont controlFont = CreateSongtiFont(12);  // 9 points
    UniqueFont listFont = CreateSongtiFont(21);     // 15.75 points
    UniqueFont qualityFont = CreateSongtiFont(14);  // 10.5 points
    std::unique_ptr<PictureBox> picture1;
    std::unique_ptr<PictureBox> picture2;
    std::unique_ptr<CameraControlWindow> camera;
    UniqueMenu menuThe;
    // Released at unload, while the controls still exist.
    UniqueWindow tooltip;
    std::unique_ptr<ListDrawingTools> listTools;
    std::unique_ptr<DialogKeyboard> keyboard;
};

GetPIC::GetPIC(Component& component) : component_(component) {}

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
const ListDrawingTools* GetPIC::ListTools() const noexcept {
    return loaded_ ? loaded_->listTools.get() : nullptr;
}

void GetPIC::Load() {
    if (IsLoaded()) return;
    RegisterWindowClasses(&GetPIC::WindowProc);
    loaded_ = std::make_unique<Loaded>();
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
    SIZE outer = OuterSize();
    int x = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
    HWND window = CreateWindowExW(0, kWindowClass, kProductTitle, kWindowStyle, x, y, outer.cx, outer.cy,
                                  nullptr, nullptr, ModuleInstance(), nullptr);
    if (!window) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    loaded_->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ++loadedWindows;  // from here on, destroying the window counts it off

    for (const ControlSpec& spec : GetPICControls()) CreateControl(spec);
    AddTooltips();
    loaded_->menuThe = CreateMenuThe();
}

void GetPIC::CreateControl(const ControlSpec& spec) {
    HWND parent = loaded_->window;
    RECT r = ToPixels(spec.bounds);
    int id = static_cast<int>(spec.id);
    auto make = [&](DWORD exStyle, const wchar_t* cls, DWORD style, HFONT font) {
        HWND control = CreateWindowExW(exStyle, cls, spec.caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                       r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
        if (!control) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    HFONT ui = loaded_->controlFont.get();
    HWND control = nullptr;
    switch (spec.kind) {
    case ControlKind::Button:
        control = make(0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, ui);
        break;
    case ControlKind::CheckBox:
        control = make(0, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, ui);
        break;
    case ControlKind::Label:
        control = make(0, L"STATIC", SS_LEFT | SS_NOPREFIX,
                       spec.id == ControlId::Label2 ? loaded_->qualityFont.get() : ui);
        break;
    case ControlKind::ListBox:
        control = make(WS_EX_CLIENTEDGE, L"LISTBOX",
                       WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, loaded_->listFont.get());
        SetWindowSubclass(control, &GetPIC::ListSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
        break;
    case ControlKind::ScrollBar:
        control = make(0, L"SCROLLBAR", WS_TABSTOP | SBS_HORZ, ui);
        SetScrollRange(control, SB_CTL, kQualityMin, kQualityMax, FALSE);
        SetScrollPos(control, SB_CTL, kQualityMin, TRUE);
        break;
    case ControlKind::PictureBox: {
        bool still = spec.id == ControlId::Picture1;
        auto box = std::make_unique<PictureBox>(parent, id, r, PictureBox::Options{still, !still});
        control = box->Window();
        if (!control) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
        if (still) {
            box->SetFrame(kCropFrameAtLoad);
            box->SetMouseHandler([this](const PictureBoxMouse& m) {
                if (Extensions().picture1Mouse) Extensions().picture1Mouse(*this, m);
            });
            loaded_->picture1 = std::move(box);
        } else {
            box->SetPicture(CreatePlaceholderPicture());
            loaded_->picture2 = std::move(box);
        }
        break;
    }
    case ControlKind::Camera:
        loaded_->camera = CreateCameraControl(parent, r, id);
        control = loaded_->camera ? loaded_->camera->Window() : nullptr;
        break;
    }
    loaded_->controls[spec.id] = control;
}

void GetPIC::AddTooltips() {
    // No owner: under some window managers an owned popup keeps its owner from
    // becoming topmost.
    loaded_->tooltip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                           ModuleInstance(), nullptr));
    if (!loaded_->tooltip) return;  // tooltips are a convenience
    SendMessageW(loaded_->tooltip.get(), WM_SETFONT, reinterpret_cast<WPARAM>(loaded_->controlFont.get()), FALSE);
    for (const ControlSpec& spec : GetPICControls()) {
        if (!spec.tooltip) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = loaded_->window;
        tool.uId = reinterpret_cast<UINT_PTR>(Control(spec.id));
        tool.lpszText = const_cast<wchar_t*>(spec.tooltip);
        SendMessageW(loaded_->tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void GetPIC::Form_Load() {
    // Without error trapping: a failure here is reported and ends the load.
    loaded_->listTools = std::make_unique<ListDrawingTools>(Control(ControlId::List1));

    RestoreTopmostOption();
    RestoreDirectDeleteOption();
    RunOrSkip([&] {
        for (ControlId id : {ControlId::CmdFormatDlg, ControlId::CmdSourceDlg, ControlId::CmdSaveDIB})
            EnableWindow(Control(id), FALSE);
    });
    RestoreQuality();
    EnableCameraButtons();
}

void GetPIC::EnableCameraButtons() {
    {
        Microsoft::WRL::ComPtr<IDispatch> control;
        RunOrSkip([&] { control = CameraDispatch(); });
        CameraAutomation camera(control);
        if (TestOrAssumeTrue([&] { return camera.FormatDialogAvailable(); }))
            RunOrSkip([&] { EnableWindow(Control(ControlId::CmdFormatDlg), TRUE); });
        if (TestOrAssumeTrue([&] { return camera.SourceDialogAvailable(); }))
            RunOrSkip([&] { EnableWindow(Control(ControlId::CmdSourceDlg), TRUE); });
    }  // the reference to the control goes here
    if (TestOrAssumeTrue([&] {
            return IsWindowEnabled(Control(ControlId::CmdFormatDlg)) &&
                   IsWindowEnabled(Control(ControlId::CmdSourceDlg));
        })) {
        RunOrSkip([&] { EnableWindow(Control(ControlId::CmdSaveDIB), TRUE); });
        RunOrSkip([&] { ShowWindow(Control(ControlId::Picture1), SW_HIDE); });
    }
}

Microsoft::WRL::ComPtr<IDispatch> GetPIC::CameraDispatch() {
    if (!loaded_ || !loaded_->camera) throw ComponentError(error_number::kObjectRequired, L"Object required");
    return loaded_->camera->Automation();
}

void GetPIC::Form_Resize() {
    SIZE outer = OuterSize();
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

void GetPIC::PopupMenuThe(float xTwips, float yTwips) {
    if (!IsLoaded()) return;
    POINT at{static_cast<LONG>(xTwips / kTwipsPerPixel), static_cast<LONG>(yTwips / kTwipsPerPixel)};
    ClientToScreen(loaded_->window, &at);
    UINT chosen = TrackPopupMenu(loaded_->menuThe.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                 at.x, at.y, 0, loaded_->window, nullptr);
    if (auto item = MenuItemOf(chosen)) RunMenuCommand(*item);
}

void GetPIC::RunMenuCommand(MenuItem item) {
    if (Extensions().menuCommand) Extensions().menuCommand(*this, item);
}

void GetPIC::OnCommand(ControlId id, WORD notification) {
    auto& ext = Extensions();
    auto run = [this](const std::function<void(GetPIC&)>& handler) {
        if (handler) handler(*this);
    };
    if (id == ControlId::List1) {
        if (notification == LBN_DBLCLK) run(ext.list1DblClick);
        return;
    }
    if (notification != BN_CLICKED) return;
    switch (id) {
    case ControlId::Check1: Check1_Click(); break;
    case ControlId::Check2: Check2_Click(); break;
    case ControlId::CmdSaveDIB: run(ext.cmdSaveDIBClick); break;
    case ControlId::Command1: run(ext.command1Click); break;
    case ControlId::CmdOK: run(ext.cmdOKClick); break;
    case ControlId::CmdFormatDlg: CameraAutomation(CameraDispatch()).ShowFormatDialog(); break;
    case ControlId::CmdSourceDlg: CameraAutomation(CameraDispatch()).ShowSourceDialog(); break;
    default: break;
    }
}

void GetPIC::OnHScroll(WORD request, WORD thumbPosition) {
    int value = HScroll1Value();
    switch (request) {
    case SB_LINELEFT: case SB_PAGELEFT: value -= kQualityStep; break;
    case SB_LINERIGHT: case SB_PAGERIGHT: value += kQualityStep; break;
    case SB_LEFT: value = kQualityMin; break;
    case SB_RIGHT: value = kQualityMax; break;
    case SB_THUMBPOSITION: value = static_cast<short>(thumbPosition); break;
    default: return;  // dragging the thumb changes the value only when it is let go
    }
    SetHScroll1Value(std::clamp(value, kQualityMin, kQualityMax));
}

LRESULT GetPIC::OnControlColor(HDC dc, HWND control) {
    if (control == Control(ControlId::Label1)) SetTextColor(dc, RGB(0, 0, 128));
    else if (control == Control(ControlId::Label2)) SetTextColor(dc, RGB(0, 0, 192));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void GetPIC::OnListMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    auto& ext = Extensions();
    ListMouseEvent event{0, ShiftState(wParam), static_cast<float>(static_cast<short>(LOWORD(lParam)) * kTwipsPerPixel),
                         static_cast<float>(static_cast<short>(HIWORD(lParam)) * kTwipsPerPixel)};
    const std::function<void(GetPIC&, const ListMouseEvent&)>* handler = nullptr;
    if (message == WM_MOUSEMOVE) {
        event.button = MouseButtons(wParam);
        handler = &ext.list1MouseMove;
    } else {
        event.button = ButtonOf(message);
        bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
        handler = down ? &ext.list1MouseDown : &ext.list1MouseUp;
    }
    if (event.button != 0 || message == WM_MOUSEMOVE)
        if (*handler) (*handler)(*this, event);
}

LRESULT CALLBACK GetPIC::ListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, &GetPIC::ListSubclassProc, id);
    // The list does its own work first (selection, capture), then the event runs.
    LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    bool mouse = message == WM_MOUSEMOVE || ButtonOf(message) != 0;
    if (mouse) {
        auto* window = reinterpret_cast<GetPIC*>(self);
        RunUntrapped(GetAncestor(list, GA_ROOT), [&] { window->OnListMouse(message, wParam, lParam); });
    }
    return result;
}

LRESULT GetPIC::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = loaded_->window;
    switch (message) {
    case WM_COMMAND:
        if (lParam) OnCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Control(ControlId::HScroll1)) OnHScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) Form_Resize();
        return 0;
    case WM_DESTROY:
        Form_Unload();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK GetPIC::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<GetPIC*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->loaded_ || self->loaded_->window != window)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->loaded_.reset();  // children are gone: fonts, pictures and menu go now
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    RunUntrapped(window, [&] { result = self->Handle(message, wParam, lParam); });
    return result;
}

}  // namespace vardolin::capture
