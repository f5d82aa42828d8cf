// The module (DLL or test program) that holds this code: its handle, found
// from the code's own address, and its file.
#pragma once

#include <windows.h>

#include <string>

namespace vardolin {

HINSTANCE ModuleInstance() noexcept;
// Full path of the module's file.
std::wstring ModulePath();

}  // namespace vardolin
