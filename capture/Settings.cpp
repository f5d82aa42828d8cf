#include "capture/Settings.h"

#include "win/ComponentError.h"
#include "win/Win32Handles.h"

namespace vardolin::capture::settings {

std::wstring Read(const std::wstring& key) {
    UniqueKey section;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSectionPath, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
    section.reset(opened);

    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(section.get(), key.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(section.get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) !=
        ERROR_SUCCESS)
        return {};
    value.resize(bytes / sizeof(wchar_t));
    // The stored text may or may not carry its terminator.
    if (auto end = value.find(L'\0'); end != std::wstring::npos) value.resize(end);
    return value;
}

void Write(const std::wstring& key, const std::wstring& value) {
    HKEY created = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, kSectionPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr);
    ThrowIfFailed(HRESULT_FROM_WIN32(status));
    UniqueKey section(created);
    status = RegSetValueExW(section.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ThrowIfFailed(HRESULT_FROM_WIN32(status));
}

}  // namespace vardolin::capture::settings
