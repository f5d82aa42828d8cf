// Turns the failures of the server's members into automation errors: an
// HRESULT plus IErrorInfo, which VBA and VBScript show as Err.Number and
// Err.Description. No exception leaves a COM method: every one of them runs
// its body under Guarded, which classifies the exception with CurrentError.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "encoder/NumberedError.h"

namespace vardolin {

// Sets the thread's error info (description, no source) and returns hr.
HRESULT RaiseError(HRESULT hr, REFIID iid, const std::wstring& description) noexcept;

// The automation error for a classified exception, with error info: a
// component error becomes 0x800A0000 + number (Err.Number = number in VBA and
// VBScript), another standard exception E_FAIL with its text; no memory is
// E_OUTOFMEMORY and anything else E_UNEXPECTED, without error info.
HRESULT RaiseCaughtError(const CaughtError& error, REFIID iid) noexcept;

// The plain HRESULT of a classified exception, for methods of interfaces
// that carry no error info: E_OUTOFMEMORY or E_UNEXPECTED.
HRESULT ResultOf(const CaughtError& error) noexcept;

// Runs body and reports any exception it throws as an automation error.
// Error info left from an earlier call is cleared first, so that a caller
// never reads a stale description.
template <class Body>
HRESULT Guarded(REFIID iid, Body&& body) noexcept {
    SetErrorInfo(0, nullptr);
    try {
        return body();
    } catch (...) {
        return RaiseCaughtError(CurrentError(), iid);
    }
}

// Runs body and turns any exception it throws into a plain HRESULT.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return ResultOf(CurrentError());
    }
}

}  // namespace vardolin
