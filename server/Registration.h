// Self-registration: the classes, their ProgIDs and the type library, per
// machine (HKLM\Software\Classes) or per user (HKCU\Software\Classes).
#pragma once

#include <windows.h>

namespace vardolin::server {

enum class RegistrationScope { Machine, User };

// Writes every key; on failure removes what was written and returns the error.
HRESULT RegisterServer(RegistrationScope scope) noexcept;
// Removes every key RegisterServer writes; keys already gone are no error.
// Keys that both registry views share (the ProgIDs, the type library's
// version key) stay while the other bitness's DLL is still registered in the
// same scope; a failed registration's rollback keeps them the same way.
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

}  // namespace vardolin::server
