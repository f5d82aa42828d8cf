// Form_show and the capture window's load, resize and unload.
#include "capture/FormShow.h"
#include "roster/ListDrawingTools.h"
#include "win/WindowPlacement.h"
#include "capture/tests/WindowTestSupport.h"

namespace vardolin::capture::test {
namespace {

using LifecycleTest = GetPICTest;

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST_F(LifecycleTest, FormShowKeepsHostObjectsAndShowsAModelessUnownedWindow) {
    ShowWithHost();

    HWND window = Window().Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(CurrentComponentState().hostApplication.Get(), host_.Application().Get());
    EXPECT_NE(CurrentComponentState().hostWorkbook.Get(), nullptr);
    EXPECT_NE(CurrentComponentState().hostWorksheet.Get(), nullptr);
}

TEST_F(LifecycleTest, SecondFormShowBringsTheOpenWindowBackWithoutLoadingItAgain) {
    ShowWithHost();
    HWND window = Window().Window();
    SendMessageW(Control(ControlId::List1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"王五"));
    SettingsSandbox::Put(L"Top", L"0");  // a new load would read this
    devhost::Host other(devhost::Workbook::FromCsv("x\n"));

    FormShow(other.Application().Get(), other.ActiveWorkbook().Get(), other.ActiveSheet().Get());

    EXPECT_EQ(Window().Window(), window);
    EXPECT_EQ(SendMessageW(Control(ControlId::List1), LB_GETCOUNT, 0, 0), 1);
    EXPECT_TRUE(IsTopmost());
    EXPECT_EQ(CurrentComponentState().hostApplication.Get(), host_.Application().Get());
}

TEST_F(LifecycleTest, FormShowAfterCloseLoadsAFreshWindow) {
    ShowWithHost();
    SendMessageW(Control(ControlId::List1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"王五"));
    SendMessageW(Window().Window(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(Window().IsLoaded());
    SettingsSandbox::Put(L"Top", L"0");
    devhost::Host other(devhost::Workbook::FromCsv("x\n"));

    FormShow(other.Application().Get(), nullptr, nullptr);

    ASSERT_TRUE(Window().IsLoaded());
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
    EXPECT_EQ(SendMessageW(Control(ControlId::List1), LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(IsTopmost());
    EXPECT_NE(Window().Picture2()->Picture(), nullptr);
    EXPECT_EQ(CurrentComponentState().hostApplication.Get(), host_.Application().Get());
}

TEST_F(LifecycleTest, FormShowWithoutHostObjectsStillShowsTheWindow) {
    FormShow(nullptr, nullptr, nullptr);
    EXPECT_TRUE(Window().IsLoaded());
    EXPECT_EQ(CurrentComponentState().hostApplication.Get(), nullptr);
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The designed client area (639 x 285 pixels) whatever the system's frame,
// and DPI-unaware even from a DPI-aware host such as the spreadsheet, so that
// the system scales it: the same test runs in prefixes with the frames of
// current Windows and at 144 dpi.
TEST_F(LifecycleTest, WindowHoldsItsClientAreaCentredWithoutMinimizeOrMaximizeBox) {
    DPI_AWARENESS_CONTEXT hostAwareness = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    ShowWithHost();
    SetThreadDpiAwarenessContext(hostAwareness);
    HWND window = Window().Window();
    EXPECT_TRUE(AreDpiAwarenessContextsEqual(GetWindowDpiAwarenessContext(window), DPI_AWARENESS_CONTEXT_UNAWARE));
    EXPECT_EQ(ClientSize(window).cx, 639);
    EXPECT_EQ(ClientSize(window).cy, 285);
    RECT r{};
    GetWindowRect(window, &r);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    {
        DpiUnawareScope unaware;  // the monitor in the window's own coordinates
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    }
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_CAPTION);

    RECT before = r;
    SetWindowPos(window, nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
    MoveWindow(window, before.left, before.top, 300, 100, TRUE);
    PumpMessages();
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, before.right - before.left) << "any resize snaps back";
    EXPECT_EQ(r.bottom - r.top, before.bottom - before.top);
    EXPECT_EQ(ClientSize(window).cx, 639);
}

TEST_F(LifecycleTest, ListDrawingToolsLiveFromLoadToUnloadAndAreReleasedOnce) {
    // One load first: the system caches some objects on first use.
    ShowWithHost();
    SendMessageW(Window().Window(), WM_CLOSE, 0, 0);
    DWORD start = GdiObjects();
    for (int round = 0; round < 3; ++round) {
        ShowWithHost();
        const roster::ListDrawingTools* tools = Window().ListTools();
        ASSERT_NE(tools, nullptr);
        HPEN pen = tools->Pen();
        HDC dc = tools->Dc();
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(NULL_BRUSH));
        LOGPEN style{};
        ASSERT_TRUE(GetObjectW(pen, sizeof style, &style));
        EXPECT_EQ(style.lopnStyle, static_cast<UINT>(PS_SOLID));
        EXPECT_EQ(style.lopnColor, RGB(0, 0, 0));

        SendMessageW(Window().Window(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(Window().IsLoaded());
        EXPECT_EQ(GetObjectType(pen), 0u) << "the pen is deleted at unload";
    }
    EXPECT_EQ(GdiObjects(), start);
    EXPECT_EQ(GetPIC::LoadedCount(), 0);
    EXPECT_TRUE(CanUnloadNow());
}

TEST_F(LifecycleTest, LoadedWindowKeepsTheLibraryInMemory) {
    ShowWithHost();
    EXPECT_FALSE(CanUnloadNow());
}

}  // namespace
}  // namespace vardolin::capture::test
