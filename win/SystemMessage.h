// The system's text for a Win32 error code, without the trailing line break.
#pragma once

#include <windows.h>

#include <string>

namespace vardolin {

std::wstring SystemMessage(DWORD error);

}  // namespace vardolin
