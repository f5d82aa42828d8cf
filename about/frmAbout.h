// The About window: a borderless picture that fades in over every other
// window, stays for 30 seconds, fades out and closes itself. A click on its
// close mark (Label7) starts the fade-out at once and opens the maker's web
// page. One instance per component (the component state holds it); its window
// is created when it is shown and destroyed when it closes, and the next
// showing loads it anew. The capture window's About button opens it.
#pragma once

#include "about/AboutTimers.h"
#include "win/BaseWindow.h"
#include "win/Environment.h"
#include "win/TopmostWindow.h"

#include <windows.h>

#include <memory>

namespace vardolin::about {

inline constexpr const wchar_t* kMakerWebPage = L"https://vardolin.example/";

inline constexpr int kAlphaStep = 5;
inline constexpr UINT kHoldMs = 30000;
inline constexpr UINT kFadeStepMs = 1;  // the platform's shortest period sets the real pace

class frmAbout : public vardolin::BaseWindow<frmAbout> {
public:
    // The capture window is put back on top when the About window closes.
    frmAbout(vardolin::TopmostWindow& captureWindow, const vardolin::Environment& environment);
    ~frmAbout();
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    // About windows loaded in this process.
    static int LoadedCount() noexcept;

    // Loads the window when needed, shows it modeless with no owner and brings
    // it to the front; a running fade or hold goes on.
    void Show();
    // Creates the window and runs its load steps, without showing it.
    void Load();
    // Closes the window the way its own close does: the query-unload step
    // runs, then the window goes. The instance stays.
    void Unload();
    bool IsLoaded() const noexcept;
    HWND Window() const noexcept;
    HWND Label7() const noexcept;

    // The opacity last asked for; 0 when not loaded.
    short CurrentAlpha() const noexcept;
    bool TimerEnabled(AboutTimer timer) const noexcept;
    UINT TimerInterval(AboutTimer timer) const noexcept;

private:
    struct Loaded;

    friend class vardolin::BaseWindow<frmAbout>;
    static WNDCLASSEXW WindowClass() noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDetached() noexcept;
    LRESULT OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept;
    void CreateWindowAndControls();
    void CreateLabel7();
    void AddTooltip();
    void Discard() noexcept;
    void Paint();

    void Form_Load() noexcept;
    void Form_QueryUnload() noexcept;
    void Form_Unload() noexcept;
    void OnTimer(UINT_PTR id);
    void Timer3_Timer();
    void Timer1_Timer();
    void Trans_Timer();
    void Label7_Click();
    // Full opacity, and the fade-out counting down from it.
    void StartFadeOut();

    vardolin::TopmostWindow& captureWindow_;
    const vardolin::Environment& environment_;
    std::unique_ptr<Loaded> loaded_;
};

// The capture window's About button CmdOK ("关于"): takes the capture window
// off the top and shows the About window; while it is open, only brings it to
// the front. Every step runs even if one fails.
void CmdOK_Click(vardolin::TopmostWindow& captureWindow, frmAbout& about) noexcept;

}  // namespace vardolin::about
