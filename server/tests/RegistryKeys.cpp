#include "server/tests/RegistryKeys.h"

#include <objbase.h>

namespace vardolin::test {

std::wstring GuidString(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring ClsidKey(REFCLSID clsid) { return L"CLSID\\" + GuidString(clsid); }

bool KeyExists(HKEY hive, const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadString(HKEY hive, const std::wstring& path, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(hive, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) return {};
    return value;
}

}  // namespace vardolin::test
