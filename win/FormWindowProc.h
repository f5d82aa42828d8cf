// The window procedure of a form (the capture window, the About window): its
// messages go to the form while it is loaded in that window, any error a
// handler raises is reported instead of leaving the procedure, and the loaded
// state (with the fonts, pictures and timers it owns) goes at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <memory>

#include "UntrappedError.h"

namespace vardolin::capture {

template <class Form, class Loaded>
LRESULT RouteToLoadedForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          std::unique_ptr<Loaded> Form::*loaded, LRESULT (Form::*handler)(UINT, WPARAM, LPARAM)) {
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !(self->*loaded) || (self->*loaded)->window != window)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (self->*loaded).reset();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    RunUntrapped(window, [&] { result = (self->*handler)(message, wParam, lParam); });
    return result;
}

}  // namespace vardolin::capture
