// Finding the dialog boxes and menus a test opened. The Windows tests run
// side by side on one display, so a desktop-wide search (FindWindow) could
// pick up, answer or close another test program's window.
#pragma once

#include <windows.h>

#include <cwchar>

namespace vardolin::test {

namespace detail {

struct ClassSearch {
    const wchar_t* className;
    HWND found;
};

inline BOOL CALLBACK MatchClass(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ClassSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace detail

// The first top-level window of the calling thread whose class is `className`
// (for example L"#32770" for a dialog box, L"#32768" for a popup menu).
inline HWND FindThreadWindow(const wchar_t* className) {
    detail::ClassSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &detail::MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace vardolin::test
