// Self-registration: the classes, their ProgIDs and the type library, per
// machine (HKLM\Software\Classes) or per user (HKCU\Software\Classes).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vardolin::server {

enum class RegistrationScope { Machine, User };

// Writes every key; on failure removes what was written and returns the error.
HRESULT RegisterServer(RegistrationScope scope) noexcept;
// Removes every key RegisterServer writes; keys already gone are no error.
// Keys that both registry views share (the ProgIDs, the type library's
// version key) stay while the other bitness's DLL is still registered in the
// same scope; a failed registration's rollback keeps them the same way.
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

// One string value that registering writes below Software\Classes of its
// hive; an empty name is the key's default value.
struct RegistryRow {
    std::wstring key;
    std::wstring name;
    std::wstring value;
};

// Every value that registering the DLL at `modulePath` (in `folder`) writes,
// from the same table as RegisterServer: the classes and their ProgIDs, then
// what registering the type library writes (for this build's bitness).
// Installer packages are made from it, so that they register exactly what
// the DLL does.
std::vector<RegistryRow> RegistryRows(const std::wstring& modulePath, const std::wstring& folder);

}  // namespace vardolin::server
