// vardolin-window-bench LABEL [SECONDS]: what the capture window's preview
// costs the spreadsheet's UI thread. Runs the macro as the stand-in host
// does (Form_show on this thread), waits for the camera's live picture, then
// pumps this thread's messages for SECONDS (10 by default) and prints this
// thread's CPU time (GetThreadTimes) as a share of one core, and the whole
// process's beside it. The camera is whatever the prefix has registered
// (the demo camera with its switches in VARDOLIN_DEMOCAM). Exits 1 when the
// window or its live picture does not come.
#include "capture/GetPICLayout.h"
#include "devhost/Host.h"
#include "devhost/Workbook.h"
#include "devhost/app/FormShowMacro.h"
#include "devhost/app/HostProgram.h"
#include "win/TextEncoding.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using vardolin::capture::ControlId;
using vardolin::devhost::app::ComApartment;
using vardolin::devhost::app::ProgramFolder;

constexpr const wchar_t* kCaptureWindowClass = L"VardolinGetPIC";

void Say(const std::wstring& line) {
    std::string utf8 = vardolin::WideToUtf8(line + L"\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Handles this thread's messages until done() holds or ms have passed; true when it held.
bool PumpFor(
    DWORD ms, const std::function<bool()>& done = [] { return false; }) {
    ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

ULONGLONG Ticks(FILETIME time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

// User plus kernel time so far, in 100 ns units.
ULONGLONG ThreadCpu() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Ticks(kernel) + Ticks(user);
}
ULONGLONG ProcessCpu() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Ticks(kernel) + Ticks(user);
}

std::wstring Percent(ULONGLONG cpu, ULONGLONG wallMs) {
    wchar_t text[32];
    swprintf(text, 32, L"%.1f %%",
             wallMs ? 100.0 * static_cast<double>(cpu) / 10000.0 / static_cast<double>(wallMs) : 0.0);
    return text;
}

HWND CaptureWindow() {
    for (HWND window = FindWindowExW(nullptr, nullptr, kCaptureWindowClass, nullptr); window;
         window = FindWindowExW(nullptr, window, kCaptureWindowClass, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        Say(L"usage: vardolin-window-bench LABEL [SECONDS]");
        return 2;
    }
    std::wstring label = argv[1];
    int seconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ComApartment com;
    try {
        vardolin::devhost::Host host(vardolin::devhost::Workbook::LoadCsv(ProgramFolder() / L"demo-roster.csv"));
        auto outcome = vardolin::devhost::app::RunFormShowMacro(host.Application().Get(), host.ActiveWorkbook().Get(),
                                                                host.ActiveSheet().Get());
        if (FAILED(outcome.result)) {
            Say(label + L": " + outcome.failure);
            return 1;
        }
        HWND capture = nullptr;
        auto live = [&] {
            capture = CaptureWindow();
            return capture && IsWindowEnabled(GetDlgItem(capture, static_cast<int>(ControlId::CmdSaveDIB)));
        };
        if (!PumpFor(20000, live)) {
            Say(label + L": no live camera picture within 20 s");
            return 1;
        }
        PumpFor(1000);  // the first frames' work (format, buffers) is not what we measure
        ULONGLONG thread = ThreadCpu(), process = ProcessCpu(), start = GetTickCount64();
        PumpFor(static_cast<DWORD>(seconds) * 1000);
        ULONGLONG wall = GetTickCount64() - start;
        thread = ThreadCpu() - thread;
        process = ProcessCpu() - process;
        Say(label + L": window thread " + Percent(thread, wall) + L" of one core (process " + Percent(process, wall) +
            L") over " + std::to_wstring(wall / 1000) + L" s");
        SendMessageW(capture, WM_CLOSE, 0, 0);
        PumpFor(500);
    } catch (const std::exception&) {
        Say(label + L": cannot read demo-roster.csv beside the program");
        return 1;
    }
    return 0;
}
