// Handlers without error trapping: an error they raise is shown to the user as
// a message box with its number and description, and goes no further.
#pragma once

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

}  // namespace vardolin
