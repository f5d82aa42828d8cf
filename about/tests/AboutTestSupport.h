// Shared pieces of the About window tests: the capture window shown, ticks
// delivered by hand, web pages and message boxes counted instead of shown.
#pragma once

#include "about/AboutTimers.h"
#include "capture/GetPIC.h"
#include "tests/FakeEnvironment.h"
#include "about/frmAbout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vardolin::about::test {

bool IsTopmost(HWND window);
// The opacity set with SetLayeredWindowAttributes; -1 when none is set.
int LayeredAlpha(HWND window);
// Pumps messages until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

class AboutTest : public ::testing::Test {
protected:
    AboutTest();
    ~AboutTest() override;

    capture::GetPIC& Capture();
    frmAbout& About();
    HWND AboutHwnd() { return About().Window(); }
    // The About button of the capture window, as the user clicks it.
    void ClickCmdOK();
    // A mouse click on the close spot.
    void ClickLabel7();
    // One tick of the timer, as the platform would deliver it.
    void Tick(AboutTimer timer);
    // Ticks the timer n times; the opacity after each tick.
    std::vector<int> TickAndRecord(AboutTimer timer, int n);
    // Check1 shown unchecked and the window not on top, without storing the option.
    void UncheckKeepOnTop();

    std::vector<std::wstring> openedPages_;
    std::vector<std::wstring> messages_;
    vardolin::test::FakeEnvironment environment_;
};

// The same with the ticks delivered by hand only.
class ManualTicksTest : public AboutTest {
protected:
    ManualTicksTest() { environment_->timersTickByHand = true; }
};

}  // namespace vardolin::about::test
