// The system's text for a Win32 error code, without the trailing line break.
#pragma once

#include <windows.h>

#include <string>

namespace vardolin {

std::wstring SystemMessage(DWORD error);

// A message quoted inside a sentence of ours that ends with its own full
// stop: the message without the full stop ("." or "。") that ends it, so
// the sentence reads "…：Access denied。", not "…：Access denied.。".
std::wstring WithoutFullStop(std::wstring message);

}  // namespace vardolin
