// Reading back what registration wrote: keys in either registry view.
#pragma once

#include <windows.h>

#include <string>

namespace vardolin::test {

std::wstring GuidString(REFGUID guid);
std::wstring ClsidKey(REFCLSID clsid);

// view: 0 for the calling program's own view, or KEY_WOW64_32KEY /
// KEY_WOW64_64KEY for that bitness's view.
bool KeyExists(HKEY hive, const std::wstring& path, REGSAM view = 0);
std::wstring ReadString(HKEY hive, const std::wstring& path, const wchar_t* name = nullptr);

}  // namespace vardolin::test
