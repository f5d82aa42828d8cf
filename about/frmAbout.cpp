#include "about/frmAbout.h"

#include "about/AboutArtwork.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "win/ModuleInstance.h"
#include "about/SetWindowAlpha.h"
#include "win/Twips.h"
#include "win/UntrappedError.h"
#include "win/Win32Handles.h"
#include "win/WindowPlacement.h"

#include <commctrl.h>

#include <atomic>

namespace vardolin::about {
namespace {

constexpr const wchar_t* kWindowClass = L"VardolinfrmAbout";
constexpr int kLabel7Id = 7;

// The caption (never drawn, the window has no title bar) and the close mark's
// tooltip.
constexpr const wchar_t* kCaption = L"Form1";
constexpr const wchar_t* kCloseTooltip = L"关闭";

// The client area and the close spot over the artwork's close mark, in twips.
constexpr vardolin::TwipsRect kClientTwips{0, 0, 7500, 5250};
constexpr vardolin::TwipsRect kLabel7Twips{7080, 0, 375, 300};

std::atomic<int> loadedWindows{0};

// Opens the maker's web page with the environment's browser. Whether a
// browser really started is not checked: the user sees it, or sees nothing
// happen.
void OpenWebPage(const vardolin::Environment& environment) noexcept {
    // Only a test's fake can throw; the browser start reports nothing.
    vardolin::RunOrSkip([&] { environment.webPageOpener(kMakerWebPage); });
}

// BeginPaint and EndPaint as a pair.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

// Everything that lives from the window's load to its unload.
struct frmAbout::Loaded {
    HWND window = nullptr;  // destroyed by closing, never by this object
    HWND label7 = nullptr;
    vardolin::UniqueBitmap artwork = LoadArtwork();
    vardolin::UniqueWindow tooltip;  // released at unload, while Label7 still exists
    std::unique_ptr<AboutTimers> timers;
    short currentAlpha = 0;  // the opacity last asked for
    short alphaLimit = 0;    // bound of the running fade: 255 fading in, 0 fading out
};

frmAbout::frmAbout(vardolin::TopmostWindow& captureWindow, const vardolin::Environment& environment)
    : captureWindow_(captureWindow), environment_(environment) {}

frmAbout::~frmAbout() { Discard(); }

int frmAbout::LoadedCount() noexcept { return loadedWindows.load(); }

bool frmAbout::IsLoaded() const noexcept { return loaded_ && loaded_->window; }
HWND frmAbout::Window() const noexcept { return loaded_ ? loaded_->window : nullptr; }
HWND frmAbout::Label7() const noexcept { return loaded_ ? loaded_->label7 : nullptr; }
short frmAbout::CurrentAlpha() const noexcept { return loaded_ ? loaded_->currentAlpha : 0; }

bool frmAbout::TimerEnabled(AboutTimer timer) const noexcept {
    return loaded_ && loaded_->timers && loaded_->timers->Enabled(timer);
}

UINT frmAbout::TimerInterval(AboutTimer timer) const noexcept {
    return loaded_ && loaded_->timers ? loaded_->timers->Interval(timer) : 0;
}

void frmAbout::Load() {
    if (IsLoaded()) return;
    RegisterWindowClass();
    loaded_ = std::make_unique<Loaded>();
    vardolin::DpiUnawareScope unaware;  // scaled by the system, as the capture window
    vardolin::ModuleActivationScope commonControls6;
    try {
        CreateWindowAndControls();
    } catch (...) {
        Discard();
        throw;
    }
    Form_Load();
}

void frmAbout::Show() {
    Load();
    HWND window = Window();
    if (!window) return;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    BringWindowToTop(window);
}

void frmAbout::Unload() {
    if (!IsLoaded()) return;
    Form_QueryUnload();
    Discard();
}

void frmAbout::Discard() noexcept {
    if (HWND window = Window()) DestroyWindow(window);
    loaded_.reset();
}

void frmAbout::CreateWindowAndControls() {
    RECT client = vardolin::ToPixels(kClientTwips);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    POINT at = vardolin::CentredOnHostMonitor({width, height});
    // No border and no title bar: the window is all client area.
    HWND window = CreateWindowExW(0, kWindowClass, kCaption, WS_POPUP, at.x, at.y, width, height, nullptr, nullptr,
                                  vardolin::ModuleInstance(), nullptr);
    if (!window) vardolin::ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    loaded_->window = window;
    Attach(window);
    ++loadedWindows;  // from here on, destroying the window counts it off

    loaded_->timers = std::make_unique<AboutTimers>(window, environment_);
    loaded_->timers->Define(AboutTimer::Timer3, true, kFadeStepMs);
    loaded_->timers->Define(AboutTimer::Timer1, false, kHoldMs);
    loaded_->timers->Define(AboutTimer::Trans, false, 0);
    CreateLabel7();
    AddTooltip();
}

void frmAbout::CreateLabel7() {
    RECT r = vardolin::ToPixels(kLabel7Twips);
    // No text; SS_NOTIFY makes it clickable, and the window's colour handler
    // leaves its background unpainted so that the close mark shows through.
    loaded_->label7 = CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, r.left, r.top, r.right - r.left, r.bottom - r.top,
        loaded_->window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabel7Id)), vardolin::ModuleInstance(), nullptr);
    if (!loaded_->label7) vardolin::ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
}

void frmAbout::AddTooltip() {
    // No owner: a top-level window that owns a popup may fail to stay topmost.
    loaded_->tooltip.reset(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, vardolin::ModuleInstance(), nullptr));
    if (!loaded_->tooltip) return;  // a tooltip is a convenience
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = loaded_->window;
    tool.uId = reinterpret_cast<UINT_PTR>(loaded_->label7);
    tool.lpszText = const_cast<wchar_t*>(kCloseTooltip);
    SendMessageW(loaded_->tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Each step runs whether the one before it worked or not: without layered
// windows the window simply shows opaque and the timers still run their course.
void frmAbout::Form_Load() noexcept {
    HWND window = loaded_->window;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    loaded_->timers->SetInterval(AboutTimer::Trans, kFadeStepMs);
    // Fully transparent when it shows; Timer3 is running and fades it in.
    loaded_->currentAlpha = 0;
    loaded_->alphaLimit = 255;
    SetWindowAlpha(window, loaded_->currentAlpha);
}

void frmAbout::Form_QueryUnload() noexcept {
    // Whatever the keep-on-top option says. A capture window that was closed
    // meanwhile stays closed.
    if (captureWindow_.IsLoaded()) captureWindow_.SetTop();
}

void frmAbout::Form_Unload() noexcept {
    loaded_->tooltip.reset();
    --loadedWindows;
}

void frmAbout::OnTimer(UINT_PTR id) {
    auto timer = static_cast<AboutTimer>(id);
    if (id < 1 || id > 3 || !loaded_->timers->Ticking(timer)) return;  // stale or foreign tick
    switch (timer) {
    case AboutTimer::Timer3: Timer3_Timer(); break;
    case AboutTimer::Timer1: Timer1_Timer(); break;
    case AboutTimer::Trans: Trans_Timer(); break;
    }
}

void frmAbout::Timer3_Timer() {
    Loaded& state = *loaded_;
    state.currentAlpha = static_cast<short>(state.currentAlpha + kAlphaStep);
    if (state.currentAlpha <= state.alphaLimit) {
        SetWindowAlpha(state.window, state.currentAlpha);
        return;
    }
    state.timers->SetEnabled(AboutTimer::Timer3, false);
    SetWindowAlpha(state.window, 255);
    state.timers->SetEnabled(AboutTimer::Timer1, true);  // the hold
}

void frmAbout::Timer1_Timer() {
    loaded_->timers->SetEnabled(AboutTimer::Timer1, false);
    StartFadeOut();
}

void frmAbout::Trans_Timer() {
    Loaded& state = *loaded_;
    state.currentAlpha = static_cast<short>(state.currentAlpha - kAlphaStep);
    if (state.currentAlpha >= state.alphaLimit) {
        SetWindowAlpha(state.window, state.currentAlpha);
        return;
    }
    state.timers->SetEnabled(AboutTimer::Trans, false);
    SetWindowAlpha(state.window, 0);
    Unload();  // the window and this state go: nothing may touch them after
}

void frmAbout::StartFadeOut() {
    loaded_->alphaLimit = 0;
    loaded_->currentAlpha = 255;
    SetWindowAlpha(loaded_->window, 255);
    loaded_->timers->SetEnabled(AboutTimer::Trans, true);
}

void frmAbout::Label7_Click() {
    // A fade-in or hold still running goes on; its next tick sees the new bound.
    StartFadeOut();
    if (captureWindow_.IsLoaded()) captureWindow_.Cancel_SetTop();
    OpenWebPage(environment_);
}

void frmAbout::Paint() {
    PaintDc dc(loaded_->window);
    if (!dc.get()) return;
    if (!loaded_->artwork) {
        RECT client{};
        GetClientRect(loaded_->window, &client);
        FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        return;
    }
    vardolin::UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
    vardolin::ScopedSelection artwork(memory.get(), loaded_->artwork.get());
    BitBlt(dc.get(), 0, 0, kArtworkWidth, kArtworkHeight, memory.get(), 0, 0, SRCCOPY);
}

WNDCLASSEXW frmAbout::WindowClass() noexcept { return vardolin::NamedWindowClass(kWindowClass, IDC_ARROW); }

// The loaded state (fonts, pictures, timers) goes with the window.
void frmAbout::OnDetached() noexcept { loaded_.reset(); }

LRESULT frmAbout::OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept {
    return vardolin::ReportUntrapped(window);
}

LRESULT frmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = loaded_->window;
    switch (message) {
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED && reinterpret_cast<HWND>(lParam) == loaded_->label7) Label7_Click();
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_ERASEBKGND: return 1;  // the artwork covers the whole client area
    case WM_PAINT: Paint(); return 0;
    case WM_CLOSE: Unload(); return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void CmdOK_Click(vardolin::TopmostWindow& captureWindow, frmAbout& about) noexcept {
    // The About window puts the capture window on top again when it closes.
    captureWindow.Cancel_SetTop();
    vardolin::RunOrSkip([&] { about.Show(); });
}

}  // namespace vardolin::about
