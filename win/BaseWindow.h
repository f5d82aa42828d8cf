// The one window procedure of every window class of the product: a window's
// messages go to the C++ object attached to it, through its one member
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// An object is attached at WM_NCCREATE when it is the creation parameter (it
// then sees the creation messages too), or with Attach once CreateWindowEx
// has returned. It is detached at WM_NCDESTROY, and nothing a handler throws
// leaves the window procedure.
//
// Derived gives its class with `static WNDCLASSEXW WindowClass() noexcept`
// (name, cursor, style ...) and may hide OnDetached and OnUncaughtError.
// Derived befriends BaseWindow<Derived> when these members are private.
#pragma once

#include <windows.h>

#include "win/ModuleInstance.h"

namespace vardolin {

// A class description with a name and a system cursor; the rest is left to
// the caller or the system's defaults.
inline WNDCLASSEXW NamedWindowClass(const wchar_t* name, LPCWSTR cursor) noexcept {
    WNDCLASSEXW wc{};
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.lpszClassName = name;
    return wc;
}

template <class Derived>
class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    // Registers the class in the module that holds this code (the windows
    // run in a DLL inside the host's process); where it exists already the
    // registration fails harmlessly.
    static void RegisterWindowClass() noexcept {
        WNDCLASSEXW wc = Derived::WindowClass();
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BaseWindow::WindowProc;
        wc.hInstance = ModuleInstance();
        RegisterClassExW(&wc);
    }
    static void UnregisterWindowClass() noexcept {
        UnregisterClassW(Derived::WindowClass().lpszClassName, ModuleInstance());
    }

protected:
    BaseWindow() noexcept = default;
    ~BaseWindow() = default;

    void Attach(HWND window) noexcept {
        window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<Derived*>(this)));
    }

    // Called at WM_NCDESTROY, once the window is detached.
    void OnDetached() noexcept {}
    // Called inside the catch block of an error a handler raised; returns the
    // message's result.
    LRESULT OnUncaughtError(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;  // the attached window; not owned

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (created) created->Attach(window);
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            self->OnDetached();
            return DefWindowProcW(window, message, wParam, lParam);
        }
        try {
            return self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            return self->OnUncaughtError(window, message, wParam, lParam);
        }
    }
};

}  // namespace vardolin
