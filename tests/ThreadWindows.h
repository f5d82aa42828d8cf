// Finding the dialog boxes and menus a test opened. The Windows tests run
// side by side on one display, so a desktop-wide search (FindWindow) could
// pick up, answer or close another test program's window.
#pragma once

#include <windows.h>

#include <cwchar>

namespace vardolin::test {

namespace detail {

struct WindowSearch {
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    wchar_t name[64] = {}, text[128] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, search->className) != 0) return TRUE;
    if (search->title) {
        GetWindowTextW(window, text, 128);
        if (!std::wcsstr(text, search->title) || !IsWindowVisible(window)) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace detail

// The first top-level window of the calling thread whose class is `className`
// (for example L"#32770" for a dialog box, L"#32768" for a popup menu); with a
// title, the first visible one whose title contains it (property frames add
// words of the system's own around the caption they are given).
inline HWND FindThreadWindow(const wchar_t* className, const wchar_t* title = nullptr) {
    detail::WindowSearch search{className, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &detail::MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace vardolin::test
