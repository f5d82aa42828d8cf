// The fade state machine, driven tick by tick: fade-in, hold, fade-out and
// close, and a click on the close spot in each of these states.
#include "about/tests/AboutTestSupport.h"

namespace vardolin::about::test {
namespace {

using T = AboutTimer;

std::vector<int> Steps(int from, int to) {
    std::vector<int> values;
    for (int v = from; from <= to ? v <= to : v >= to; v += from <= to ? kAlphaStep : -kAlphaStep) values.push_back(v);
    return values;
}

class FadeTest : public ManualTicksTest {
protected:
    void OpenAndFadeIn() {
        ClickCmdOK();
        TickAndRecord(T::Timer3, 52);
        ASSERT_TRUE(About().TimerEnabled(T::Timer1));
    }
    void ExpectClosesAfter(int transTicks) {
        TickAndRecord(T::Trans, transTicks - 1);
        ASSERT_TRUE(About().IsLoaded()) << "closed too early";
        Tick(T::Trans);
        EXPECT_FALSE(About().IsLoaded());
    }
};

TEST_F(FadeTest, FadesInHoldsFadesOutAndClosesWithTheCaptureWindowOnTop) {
    UncheckKeepOnTop();
    ClickCmdOK();
    HWND about = AboutHwnd();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsTopmost(Capture().Window()));
    EXPECT_EQ(LayeredAlpha(about), 0);
    EXPECT_TRUE(About().TimerEnabled(T::Timer3));
    EXPECT_FALSE(About().TimerEnabled(T::Timer1));
    EXPECT_FALSE(About().TimerEnabled(T::Trans));
    EXPECT_EQ(About().TimerInterval(T::Timer3), 1u);
    EXPECT_EQ(About().TimerInterval(T::Timer1), 30000u);
    EXPECT_EQ(About().TimerInterval(T::Trans), 1u);

    EXPECT_EQ(TickAndRecord(T::Timer3, 51), Steps(5, 255));
    EXPECT_FALSE(About().TimerEnabled(T::Timer1));
    Tick(T::Timer3);  // the 52nd ends the fade-in
    EXPECT_EQ(LayeredAlpha(about), 255);
    EXPECT_FALSE(About().TimerEnabled(T::Timer3));
    EXPECT_TRUE(About().TimerEnabled(T::Timer1));

    short heldAlpha = About().CurrentAlpha();
    Tick(T::Timer3);  // a disabled timer does not tick
    EXPECT_EQ(About().CurrentAlpha(), heldAlpha);

    Tick(T::Timer1);  // end of the hold
    EXPECT_FALSE(About().TimerEnabled(T::Timer1));
    EXPECT_TRUE(About().TimerEnabled(T::Trans));
    EXPECT_EQ(LayeredAlpha(about), 255);

    EXPECT_EQ(TickAndRecord(T::Trans, 51), Steps(250, 0));
    EXPECT_TRUE(IsWindow(about));
    Tick(T::Trans);  // the 52nd closes
    EXPECT_FALSE(IsWindow(about));
    EXPECT_FALSE(About().IsLoaded());
    EXPECT_TRUE(IsTopmost(Capture().Window())) << "on top again although Check1 is off";
    EXPECT_TRUE(openedPages_.empty());
}

TEST_F(FadeTest, ClickDuringFadeInEndsTheFadeInAndFadesOut) {
    ClickCmdOK();
    TickAndRecord(T::Timer3, 10);
    ClickLabel7();
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);
    EXPECT_TRUE(About().TimerEnabled(T::Trans));
    EXPECT_TRUE(About().TimerEnabled(T::Timer3)) << "the click does not stop the fade-in";
    EXPECT_FALSE(IsTopmost(Capture().Window()));
    EXPECT_EQ(openedPages_, std::vector<std::wstring>{kMakerWebPage});

    Tick(T::Timer3);  // above the new bound 0: the fade-in ends as usual
    EXPECT_FALSE(About().TimerEnabled(T::Timer3));
    EXPECT_TRUE(About().TimerEnabled(T::Timer1));
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);

    EXPECT_EQ(TickAndRecord(T::Trans, 52), Steps(255, 0));  // counting down from 260
    ExpectClosesAfter(1);
    EXPECT_TRUE(IsTopmost(Capture().Window()));
    EXPECT_EQ(openedPages_.size(), 1u);
}

TEST_F(FadeTest, ClickDuringHoldFadesOutAndAPendingHoldEndRestartsIt) {
    OpenAndFadeIn();
    ClickLabel7();
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);
    EXPECT_TRUE(About().TimerEnabled(T::Timer1)) << "the click does not stop the hold";
    EXPECT_EQ(TickAndRecord(T::Trans, 10), Steps(250, 205));

    Tick(T::Timer1);
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);
    EXPECT_FALSE(About().TimerEnabled(T::Timer1));
    EXPECT_EQ(TickAndRecord(T::Trans, 51), Steps(250, 0));
    ExpectClosesAfter(1);
    EXPECT_TRUE(IsTopmost(Capture().Window()));
    EXPECT_EQ(openedPages_.size(), 1u);
}

TEST_F(FadeTest, EachClickDuringFadeOutRestartsItAndOpensThePageOnce) {
    OpenAndFadeIn();
    Tick(T::Timer1);
    EXPECT_EQ(TickAndRecord(T::Trans, 30), Steps(250, 105));
    Capture().SetTop();
    ClickLabel7();
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 255);
    EXPECT_EQ(openedPages_.size(), 1u);
    EXPECT_FALSE(IsTopmost(Capture().Window()));

    TickAndRecord(T::Trans, 20);
    ClickLabel7();
    EXPECT_EQ(openedPages_.size(), 2u);
    EXPECT_EQ(TickAndRecord(T::Trans, 51), Steps(250, 0));
    ExpectClosesAfter(1);
    EXPECT_TRUE(IsTopmost(Capture().Window()));
    EXPECT_EQ(openedPages_, (std::vector<std::wstring>{kMakerWebPage, kMakerWebPage}));
}

TEST_F(FadeTest, ClosingOtherwisePutsTheCaptureWindowOnTopAndReopeningStartsAfresh) {
    UncheckKeepOnTop();
    ClickCmdOK();
    TickAndRecord(T::Timer3, 20);
    SendMessageW(AboutHwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(About().IsLoaded());
    EXPECT_TRUE(IsTopmost(Capture().Window()));
    EXPECT_FALSE(Capture().IsChecked(capture::ControlId::Check1)) << "the option itself is unchanged";

    ClickCmdOK();  // loaded anew: the whole sequence again
    EXPECT_EQ(LayeredAlpha(AboutHwnd()), 0);
    EXPECT_EQ(TickAndRecord(T::Timer3, 2), Steps(5, 10));
    EXPECT_FALSE(About().TimerEnabled(T::Trans));
}

TEST_F(FadeTest, ACaptureWindowClosedMeanwhileStaysClosed) {
    ClickCmdOK();
    Capture().Unload();
    ClickLabel7();
    EXPECT_EQ(openedPages_.size(), 1u);
    ExpectClosesAfter(52);
    EXPECT_FALSE(Capture().IsLoaded());
}

}  // namespace
}  // namespace vardolin::about::test
