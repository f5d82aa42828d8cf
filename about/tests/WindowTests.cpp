// The About window as the user meets it: opened by the About button, its
// shape and place, the close spot with its tooltip, the artwork, and the
// fades run by the real timers.
#include "AboutArtwork.h"
#include "AboutTestSupport.h"
#include "Win32Handles.h"

#include <commctrl.h>

#include <cstdlib>

namespace vardolin::about::test {
namespace {

using T = AboutTimer;

RECT ClientRectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectRect(const RECT& r, int left, int top, int width, int height) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

// The tooltip control that has a tool for the given control.
HWND TooltipFor(HWND control) {
    struct Search {
        HWND control;
        HWND found;
    } search{control, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[64] = {};
            GetClassNameW(window, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = GetParent(s->control);
            tool.uId = reinterpret_cast<UINT_PTR>(s->control);
            if (!SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TooltipText(HWND tooltip, HWND control) {
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return text;
}

using WindowTest = ManualTicksTest;

TEST_F(WindowTest, AboutButtonOpensABorderlessCentredTopmostWindow) {
    Capture().SetTop();
    ClickCmdOK();
    HWND about = AboutHwnd();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsTopmost(Capture().Window())) << "the capture window goes off the top";
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(IsTopmost(about));
    EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowLongW(about, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);

    RECT window{}, client{};
    GetWindowRect(about, &window);
    GetClientRect(about, &client);
    ExpectRect(client, 0, 0, 500, 350);
    ExpectRect(window, (GetSystemMetrics(SM_CXSCREEN) - 500) / 2, (GetSystemMetrics(SM_CYSCREEN) - 350) / 2, 500,
               350);

    HWND label7 = About().Label7();
    ASSERT_NE(label7, nullptr);
    EXPECT_EQ(GetParent(label7), about);
    ExpectRect(ClientRectIn(label7, about), 472, 0, 25, 20);
    EXPECT_EQ(GetWindowTextLengthW(label7), 0);
}

TEST_F(WindowTest, SecondAboutClickOnlyBringsTheOpenWindowToTheFront) {
    ClickCmdOK();
    HWND about = AboutHwnd();
    TickAndRecord(T::Timer3, 10);
    Capture().SetTop();

    ClickCmdOK();
    EXPECT_EQ(AboutHwnd(), about);
    EXPECT_EQ(frmAbout::LoadedCount(), 1);
    EXPECT_EQ(About().CurrentAlpha(), 50) << "the fade-in goes on";
    EXPECT_EQ(LayeredAlpha(about), 50);
    EXPECT_TRUE(About().TimerEnabled(T::Timer3));
    EXPECT_FALSE(IsTopmost(Capture().Window()));
}

TEST_F(WindowTest, ReopeningAfterCloseStartsTheWholeSequenceAgain) {
    ClickCmdOK();
    TickAndRecord(T::Timer3, 52);
    Tick(T::Timer1);
    SendMessageW(AboutHwnd(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(About().IsLoaded());

    ClickCmdOK();
    ASSERT_TRUE(About().IsLoaded());
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 0);
    EXPECT_EQ(About().CurrentAlpha(), 0);
    EXPECT_EQ(About().AlphaLimit(), 255);
    EXPECT_TRUE(About().TimerEnabled(T::Timer3));
    EXPECT_FALSE(About().TimerEnabled(T::Timer1));
    EXPECT_FALSE(About().TimerEnabled(T::Trans));
}

TEST_F(WindowTest, CloseSpotHasAnOwnerlessTooltip) {
    ClickCmdOK();
    HWND tooltip = TooltipFor(About().Label7());
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(TooltipText(tooltip, About().Label7()), L"关闭");
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), nullptr) << "an owned popup keeps its owner from staying topmost";

    About().Unload();
    EXPECT_FALSE(IsWindow(tooltip)) << "the tooltip goes with the window";
}

// Colour of the decoded artwork at a point, compared with what was drawn.
void ExpectColourNear(HBITMAP bitmap, int x, int y, COLORREF drawn) {
    capture::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    capture::ScopedSelection selected(dc.get(), bitmap);
    COLORREF seen = GetPixel(dc.get(), x, y);
    constexpr int kTolerance = 24;  // JPEG's loss around sharp edges
    EXPECT_LE(std::abs(GetRValue(seen) - GetRValue(drawn)), kTolerance) << "at " << x << "," << y;
    EXPECT_LE(std::abs(GetGValue(seen) - GetGValue(drawn)), kTolerance) << "at " << x << "," << y;
    EXPECT_LE(std::abs(GetBValue(seen) - GetBValue(drawn)), kTolerance) << "at " << x << "," << y;
}

TEST(AboutArtwork, StoredJpegDecodesToTheDrawingWithItsCloseMark) {
    auto jpeg = ArtworkJpeg();
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    capture::UniqueBitmap artwork = LoadArtwork();
    ASSERT_TRUE(artwork);
    BITMAP info{};
    GetObjectW(artwork.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, kArtworkWidth);
    EXPECT_EQ(info.bmHeight, kArtworkHeight);
    ExpectColourNear(artwork.get(), 250, 10, RGB(0x0a, 0x1a, 0x2a));   // title strip
    ExpectColourNear(artwork.get(), 474, 17, RGB(0xb0, 0x3a, 0x2e));   // close mark
    ExpectColourNear(artwork.get(), 484, 10, RGB(0xff, 0xff, 0xff));   // its cross
    ExpectColourNear(artwork.get(), 125, 170, RGB(0x9f, 0xd3, 0xef));  // the camera's lens
}

TEST(AboutArtwork, DataThatIsNoPictureGivesNoBitmap) {
    const BYTE notAPicture[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 'x', 'y'};
    EXPECT_FALSE(DecodePicture(notAPicture));
    EXPECT_FALSE(DecodePicture({}));
}

// The platform's timers: the fade-in ends in a hold by itself, and a click
// fades the window out until it closes.
TEST_F(AboutTest, RealTimersRunTheFadeInAndAClickedFadeOut) {
    ClickCmdOK();
    ASSERT_TRUE(PumpUntil([&] { return About().TimerEnabled(T::Timer1); }, std::chrono::seconds(10)));
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);
    EXPECT_FALSE(About().TimerEnabled(T::Timer3));

    ClickLabel7();
    ASSERT_TRUE(PumpUntil([&] { return !About().IsLoaded(); }, std::chrono::seconds(10)));
    EXPECT_TRUE(IsTopmost(Capture().Window()));
    EXPECT_EQ(openedPages_.size(), 1u);
}

}  // namespace
}  // namespace vardolin::about::test
