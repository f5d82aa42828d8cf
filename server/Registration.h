// Self-registration: the classes, their ProgIDs and the type library, per
// machine (HKLM\Software\Classes) or per user (HKCU\Software\Classes).
#pragma once

#include <windows.h>

namespace vardolin::server {

enum class RegistrationScope { Machine, User };

// Writes every key; on failure removes what was written and returns the error.
HRESULT RegisterServer(RegistrationScope scope) noexcept;
// Removes every key RegisterServer writes; keys already gone are no error.
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

}  // namespace vardolin::server
