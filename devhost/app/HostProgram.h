// What every program that stands in for the spreadsheet starts with: the
// user-interface thread in a single-threaded apartment, as the spreadsheet's
// is, and the folder the program was started from (the demo roster and the
// registered DLLs lie beside it).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <filesystem>
#include <string>

namespace vardolin::devhost::app {

struct ComApartment {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
};

inline std::filesystem::path ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return std::filesystem::path(path).parent_path();
}

}  // namespace vardolin::devhost::app
