// The Windows side of the component's error (the type itself, ComponentError,
// is portable and lives with the encoder): descriptions in UTF-16, failed
// HRESULTs turned into errors, and the system's own texts for error codes.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

#include "encoder/NumberedError.h"

namespace vardolin {

// A component error whose description is given in UTF-16.
ComponentError ComponentErrorFromWide(int32_t number, std::wstring_view description);

// The description of an error in UTF-16, as a message or Err.Description shows it.
std::wstring WideDescription(const ComponentError& error);
std::wstring WideDescription(const CaughtError& error);

// The error number a macro sees for a failed automation call: the low word for
// errors in the control facility (0x800A....), the whole HRESULT otherwise.
long ErrorNumberOf(HRESULT hr) noexcept;

// Turns a failed HRESULT (with the callee's EXCEPINFO, when it filled one) into
// a ComponentError. Does nothing for a success code.
void ThrowIfFailed(HRESULT hr, EXCEPINFO* info = nullptr);

// The system's text for a Win32 error code or an HRESULT, without the
// trailing line break and spaces; "错误 <code>" when the system has none.
std::wstring SystemMessage(DWORD error);

// A message quoted inside a sentence of ours that ends with its own full
// stop: the message without the full stop ("." or "。") that ends it, so
// the sentence reads "…：Access denied。", not "…：Access denied.。".
std::wstring WithoutFullStop(std::wstring message);

}  // namespace vardolin
