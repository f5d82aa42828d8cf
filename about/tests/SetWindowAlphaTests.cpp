// SetWindowAlpha on an ordinary top-level window of the test.
#include "SetWindowAlpha.h"
#include "Win32Handles.h"

#include <gtest/gtest.h>

namespace vardolin::about {
namespace {

capture::UniqueWindow MakePopup(DWORD style = WS_POPUP, HWND parent = nullptr) {
    return capture::UniqueWindow(
        CreateWindowExW(0, L"STATIC", L"", style, 10, 10, 50, 40, parent, nullptr, nullptr, nullptr));
}

bool IsLayered(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

int Alpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags)) return -1;
    return alpha;
}

TEST(SetWindowAlpha, MakesTheWindowLayeredWithExactlyThatOpacity) {
    capture::UniqueWindow window = MakePopup();
    ASSERT_TRUE(window);
    for (short alpha : {0, 1, 128, 254, 255}) {
        EXPECT_EQ(SetWindowAlpha(window.get(), alpha), alpha_result::kDone);
        EXPECT_TRUE(IsLayered(window.get()));
        EXPECT_EQ(Alpha(window.get()), alpha);
    }
    BYTE alpha = 0;
    COLORREF key = 1;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window.get(), &key, &alpha, &flags);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
}

TEST(SetWindowAlpha, OutOfRangeReturns1AndLeavesTheWindowUntouched) {
    capture::UniqueWindow window = MakePopup();
    ASSERT_TRUE(window);
    LONG before = GetWindowLongW(window.get(), GWL_EXSTYLE);
    EXPECT_EQ(SetWindowAlpha(window.get(), 256), alpha_result::kOutOfRange);
    EXPECT_EQ(SetWindowAlpha(window.get(), -1), alpha_result::kOutOfRange);
    EXPECT_EQ(GetWindowLongW(window.get(), GWL_EXSTYLE), before) << "not made layered";

    ASSERT_EQ(SetWindowAlpha(window.get(), 100), alpha_result::kDone);
    EXPECT_EQ(SetWindowAlpha(window.get(), 256), alpha_result::kOutOfRange);
    EXPECT_EQ(SetWindowAlpha(window.get(), -1), alpha_result::kOutOfRange);
    EXPECT_EQ(SetWindowAlpha(window.get(), -32768), alpha_result::kOutOfRange);
    EXPECT_EQ(SetWindowAlpha(window.get(), 32767), alpha_result::kOutOfRange);
    EXPECT_EQ(Alpha(window.get()), 100);
}

TEST(SetWindowAlpha, AWindowThatIsGoneReturns2) {
    EXPECT_EQ(SetWindowAlpha(nullptr, 10), alpha_result::kFailed);
    capture::UniqueWindow window = MakePopup();
    HWND gone = window.get();
    window.reset();
    EXPECT_EQ(SetWindowAlpha(gone, 10), alpha_result::kFailed);
}

}  // namespace
}  // namespace vardolin::about
