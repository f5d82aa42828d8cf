#include "PhotoFiles.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "ModuleInstance.h"

namespace vardolin::capture {

std::filesystem::path LibraryFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(ModuleInstance(), buffer.data(), DWORD(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path PhotoPath(const std::wstring& entry) {
    return LibraryFolder() / L"Pic" / (entry + L".jpg");
}

namespace {

bool IsReservedDeviceName(std::wstring name) {
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ') name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return std::towupper(c); });
    static const wchar_t* const kReserved[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* reserved : kReserved)
        if (name == reserved) return true;
    return name.size() == 4 && (name.rfind(L"COM", 0) == 0 || name.rfind(L"LPT", 0) == 0) &&
           name[3] >= L'1' && name[3] <= L'9';
}

}  // namespace

bool IsPlainFileName(const std::wstring& entry) {
    if (entry.empty() || entry == L"." || entry == L"..") return false;
    for (wchar_t c : entry)
        if (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) return false;
    if (entry.back() == L'.' || entry.back() == L' ') return false;
    return !IsReservedDeviceName(entry);
}

}  // namespace vardolin::capture
