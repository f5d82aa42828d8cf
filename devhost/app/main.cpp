// vardolin-devhost [--refuse-calls=N|always] [WORKBOOK.csv]: the stand-in
// spreadsheet host. Opens the workbook (by default the demo roster beside the
// program) and runs until its window is closed. --refuse-calls makes it
// refuse the first N calls of its members (or every call) as a spreadsheet
// busy editing a cell does.
#include "devhost/app/HostWindow.h"
#include "devhost/app/HostProgram.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace vardolin::devhost;

namespace {

struct Options {
    std::filesystem::path workbook = app::ProgramFolder() / L"demo-roster.csv";
    int refusedCalls = 0;
};

Options ReadOptions(int argc, wchar_t** argv) {
    Options options;
    const std::wstring refuse = L"--refuse-calls=";
    for (int i = 1; i < argc; ++i) {
        std::wstring argument = argv[i];
        if (argument.starts_with(refuse)) {
            std::wstring count = argument.substr(refuse.size());
            options.refusedCalls = count == L"always" ? kRefuseAlways : _wtoi(count.c_str());
        } else {
            options.workbook = argument;
        }
    }
    return options;
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
    app::ComApartment com;
    Options options = ReadOptions(__argc, __wargv);
    const std::filesystem::path& file = options.workbook;
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
        host.Model().RefuseCalls(options.refusedCalls);
        ShowWindow(host.Window(), show);
        UpdateWindow(host.Window());
        return RunMessageLoop();
    } catch (const std::exception&) {
        return 1;
    }
}
