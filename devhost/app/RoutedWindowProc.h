// Routes a window's messages to the C++ object that created it (passed as
// the creation parameter): the object learns its handle at WM_NCCREATE and
// forgets it at WM_NCDESTROY; nothing thrown by a handler leaves the window
// procedure.
#pragma once

#include <windows.h>

namespace vardolin::devhost {

template <class T>
LRESULT RouteToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND T::*handle,
                      LRESULT (T::*handler)(UINT, WPARAM, LPARAM)) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->*handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->*handle = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return (self->*handler)(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace vardolin::devhost
