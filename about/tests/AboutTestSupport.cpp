#include "about/tests/AboutTestSupport.h"

#include "capture/ComponentState.h"

namespace vardolin::about::test {

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

int LayeredAlpha(HWND window) {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

AboutTest::AboutTest()
    : environment_([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
          messages_.push_back(text);
          return IDOK;
      }) {
    environment_->webPageOpener = [this](const std::wstring& address) { openedPages_.push_back(address); };
    Capture().Show();
}

AboutTest::~AboutTest() {
    About().Unload();
    Capture().Unload();
    EXPECT_EQ(frmAbout::LoadedCount(), 0);
    EXPECT_TRUE(messages_.empty()) << "an error was reported";
}

capture::GetPIC& AboutTest::Capture() { return capture::CurrentComponentState().CaptureWindow(); }

frmAbout& AboutTest::About() { return capture::CurrentComponentState().AboutWindow(); }

void AboutTest::ClickCmdOK() { SendMessageW(Capture().Control(capture::ControlId::CmdOK), BM_CLICK, 0, 0); }

void AboutTest::ClickLabel7() {
    HWND label = About().Label7();
    ASSERT_NE(label, nullptr);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

void AboutTest::Tick(AboutTimer timer) { SendMessageW(AboutHwnd(), WM_TIMER, static_cast<WPARAM>(timer), 0); }

std::vector<int> AboutTest::TickAndRecord(AboutTimer timer, int n) {
    std::vector<int> alphas;
    for (int i = 0; i < n; ++i) {
        Tick(timer);
        alphas.push_back(LayeredAlpha(AboutHwnd()));
    }
    return alphas;
}

void AboutTest::UncheckKeepOnTop() {
    SendMessageW(Capture().Control(capture::ControlId::Check1), BM_SETCHECK, BST_UNCHECKED, 0);
    Capture().Cancel_SetTop();
}

}  // namespace vardolin::about::test
