// vardolin-devhost [WORKBOOK.csv]: the stand-in spreadsheet host. Opens the
// workbook (by default the demo roster beside the program) and runs until
// its window is closed.
#include "HostWindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <filesystem>
#include <string>

using namespace vardolin::devhost;

namespace {

struct ComApartment {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComApartment() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
};

std::filesystem::path ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).parent_path();
}

std::filesystem::path WorkbookFile(int argc, wchar_t** argv) {
    if (argc > 1) return argv[1];
    return ProgramFolder() / L"demo-roster.csv";
}

int RunMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    ComApartment com;
    std::filesystem::path file = WorkbookFile(__argc, __wargv);
    Workbook book;
    try {
        book = Workbook::LoadCsv(file);
    } catch (const std::exception&) {
        std::wstring text = L"Cannot read the workbook " + file.wstring();
        MessageBoxW(nullptr, text.c_str(), L"Vardolin stand-in host", MB_OK | MB_ICONERROR);
        return 2;
    }
    try {
        app::HostWindow host(std::move(book));
        ShowWindow(host.Window(), show);
        UpdateWindow(host.Window());
        return RunMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
