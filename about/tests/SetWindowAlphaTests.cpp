// SetWindowAlpha on an ordinary top-level window of the test.
#include "about/SetWindowAlpha.h"
#include "win/Win32Handles.h"

#include <gtest/gtest.h>

namespace vardolin::about {
namespace {

vardolin::UniqueWindow MakePopup() {
    return vardolin::UniqueWindow(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 10, 10, 50, 40, nullptr, nullptr, nullptr, nullptr));
}

LONG ExtendedStyle(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

int Alpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || flags != LWA_ALPHA) return -1;
    return alpha;
}

TEST(SetWindowAlpha, OutOfRangeReturns1AndLeavesTheWindowUntouched) {
    vardolin::UniqueWindow window = MakePopup();
    ASSERT_TRUE(window);
    LONG plain = ExtendedStyle(window.get());
    for (short alpha : {256, -1}) EXPECT_EQ(SetWindowAlpha(window.get(), alpha), alpha_result::kOutOfRange);
    EXPECT_EQ(ExtendedStyle(window.get()), plain) << "not made layered";

    for (short alpha : {0, 255, 100}) EXPECT_EQ(SetWindowAlpha(window.get(), alpha), alpha_result::kDone);
    EXPECT_TRUE(ExtendedStyle(window.get()) & WS_EX_LAYERED);
    for (short alpha : {256, -1, 32767, -32768})
        EXPECT_EQ(SetWindowAlpha(window.get(), alpha), alpha_result::kOutOfRange);
    EXPECT_EQ(Alpha(window.get()), 100);
}

TEST(SetWindowAlpha, AWindowThatIsGoneReturns2) {
    EXPECT_EQ(SetWindowAlpha(nullptr, 10), alpha_result::kFailed);
    HWND gone = MakePopup().get();  // destroyed at once
    EXPECT_EQ(SetWindowAlpha(gone, 10), alpha_result::kFailed);
}

}  // namespace
}  // namespace vardolin::about
