// Turns the failures of the server's members into automation errors: an
// HRESULT plus IErrorInfo, which VBA and VBScript show as Err.Number and
// Err.Description. No exception leaves a COM method.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <exception>
#include <string>
#include <string_view>

namespace vardolin {

// Sets the thread's error info (description, no source) and returns hr.
HRESULT RaiseError(HRESULT hr, REFIID iid, const std::wstring& description) noexcept;

// Maps the exception in flight to an HRESULT with error info: encoder errors
// become 0x800A0000 + number (Err.Number = number in VBA and VBScript).
HRESULT ErrorFromCurrentException(REFIID iid) noexcept;

// Runs body and reports any exception it throws as an automation error.
// Error info left from an earlier call is cleared first, so that a caller
// never reads a stale description.
template <class Body>
HRESULT Guarded(REFIID iid, Body&& body) noexcept {
    SetErrorInfo(0, nullptr);
    try {
        return body();
    } catch (...) {
        return ErrorFromCurrentException(iid);
    }
}

}  // namespace vardolin
