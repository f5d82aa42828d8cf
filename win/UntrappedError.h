// Handlers without error trapping: an error they raise is shown to the user as
// a message box with its number and description, and goes no further.
#pragma once

#include "win/DialogTemplate.h"
#include "win/ModuleInstance.h"

#include <windows.h>

#include <string>

namespace vardolin {

// The product's title, used for the capture window and its error messages.
inline constexpr const wchar_t* kProductTitle = L"Vardolin";

// Shows the error being handled (call from inside a catch block).
void ReportCurrentError(HWND owner) noexcept;

// Runs a handler; an error it raises is reported, never propagated.
template <class Handler>
void RunUntrapped(HWND owner, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportCurrentError(owner);
    }
}

// For a window procedure's catch block: reports the error, and the message's
// result is 0.
inline LRESULT ReportUntrapped(HWND owner) noexcept {
    ReportCurrentError(owner);
    return 0;
}

// The text of the message for an error number and description.
std::wstring UntrappedErrorText(long number, const std::wstring& description);

// Runs a dialog box modally over a state object that Handle answers its
// messages with (from WM_INITDIALOG on; the state is kept in DWLP_USER). An
// error Handle raises is reported, never thrown back into the system.
template <class State, INT_PTR (*Handle)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, State& state)>
INT_PTR RunModalDialog(const DialogTemplate& dialog, HWND owner, State& state) {
    struct Procedure {
        static INT_PTR CALLBACK Run(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
            auto* held = reinterpret_cast<State*>(GetWindowLongPtrW(window, DWLP_USER));
            INT_PTR result = FALSE;
            if (held) RunUntrapped(window, [&] { result = Handle(window, message, wParam, lParam, *held); });
            return result;
        }
    };
    return DialogBoxIndirectParamW(ModuleInstance(), dialog.Get(), owner, Procedure::Run,
                                   reinterpret_cast<LPARAM>(&state));
}

}  // namespace vardolin
