// The module (DLL or test program) that holds the capture window's code.
#pragma once

#include <windows.h>

namespace vardolin::capture {

HINSTANCE ModuleInstance() noexcept;

}  // namespace vardolin::capture
