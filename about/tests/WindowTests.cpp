// The About window as the user meets it: opened by the About button, its
// shape and place, the artwork, and the fades run by the real timers.
#include "about/AboutArtwork.h"
#include "about/tests/AboutTestSupport.h"
#include "win/Win32Handles.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vardolin::about::test {
namespace {

using T = AboutTimer;
using Box = std::array<LONG, 4>;  // left, top, width, height

Box BoxOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

Box ScreenBoxOf(HWND window, HWND relativeTo = nullptr) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&r), 2);
    return BoxOf(r);
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
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(BoxOf(client), (Box{0, 0, 500, 350}));
    EXPECT_EQ(ScreenBoxOf(about),
              (Box{(GetSystemMetrics(SM_CXSCREEN) - 500) / 2, (GetSystemMetrics(SM_CYSCREEN) - 350) / 2, 500, 350}));
    EXPECT_EQ(ScreenBoxOf(About().Label7(), about), (Box{472, 0, 25, 20}));
}

TEST_F(WindowTest, AboutButtonWhileOpenOnlyBringsTheWindowToTheFront) {
    ClickCmdOK();
    HWND about = AboutHwnd();
    TickAndRecord(T::Timer3, 10);
    Capture().SetTop();

    ClickCmdOK();
    EXPECT_EQ(AboutHwnd(), about);
    EXPECT_EQ(frmAbout::LoadedCount(), 1);
    EXPECT_EQ(LayeredAlpha(about), 50) << "the fade-in goes on";
    TickAndRecord(T::Timer3, 1);
    EXPECT_EQ(LayeredAlpha(about), 55);
    EXPECT_FALSE(IsTopmost(Capture().Window()));
}

// Each channel of the decoded artwork near what was drawn there (JPEG loses a
// little around sharp edges).
void ExpectColourNear(HBITMAP bitmap, int x, int y, COLORREF drawn) {
    vardolin::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    vardolin::ScopedSelection selected(dc.get(), bitmap);
    COLORREF seen = GetPixel(dc.get(), x, y);
    int difference =
        std::max({std::abs(GetRValue(seen) - GetRValue(drawn)), std::abs(GetGValue(seen) - GetGValue(drawn)),
                  std::abs(GetBValue(seen) - GetBValue(drawn))});
    EXPECT_LE(difference, 24) << "at " << x << "," << y;
}

TEST(AboutArtwork, StoredJpegDecodesToTheDrawingWithItsCloseMark) {
    vardolin::UniqueBitmap artwork = LoadArtwork();
    ASSERT_TRUE(artwork);
    BITMAP info{};
    GetObjectW(artwork.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, kArtworkWidth);
    EXPECT_EQ(info.bmHeight, kArtworkHeight);
    ExpectColourNear(artwork.get(), 250, 10, RGB(0x0a, 0x1a, 0x2a));   // title strip
    ExpectColourNear(artwork.get(), 474, 17, RGB(0xb0, 0x3a, 0x2e));   // close mark
    ExpectColourNear(artwork.get(), 484, 10, RGB(0xff, 0xff, 0xff));   // its cross
    ExpectColourNear(artwork.get(), 125, 170, RGB(0x9f, 0xd3, 0xef));  // the camera's lens

    const BYTE notAPicture[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 'x', 'y'};
    EXPECT_FALSE(DecodePicture(notAPicture));
}

// The platform's timers: the fade-in ends in a hold by itself, and a click
// fades the window out until it closes.
TEST_F(AboutTest, RealTimersRunTheFadeInAndAClickedFadeOut) {
    ClickCmdOK();
    ASSERT_TRUE(PumpUntil([&] { return About().TimerEnabled(T::Timer1); }, std::chrono::seconds(10)));
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);

    ClickLabel7();
    ASSERT_TRUE(PumpUntil([&] { return !About().IsLoaded(); }, std::chrono::seconds(10)));
    EXPECT_TRUE(IsTopmost(Capture().Window()));
    EXPECT_EQ(openedPages_.size(), 1u);
}

}  // namespace
}  // namespace vardolin::about::test
