#include "DialogKeyboard.h"

namespace vardolin::capture {
namespace {

thread_local HWND navigatedWindow = nullptr;

bool IsNavigationKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_CHAR) return false;
    return msg.wParam == VK_TAB;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && navigatedWindow && IsNavigationKey(*msg) &&
        (msg->hwnd == navigatedWindow || IsChild(navigatedWindow, msg->hwnd)) &&
        IsDialogMessageW(navigatedWindow, msg)) {
        msg->message = WM_NULL;  // handled: the host's loop must not translate it again
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DialogKeyboard::DialogKeyboard(HWND window)
    : previous_(navigatedWindow),
      hook_(SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId())) {
    navigatedWindow = window;
}

DialogKeyboard::~DialogKeyboard() { navigatedWindow = previous_; }

}  // namespace vardolin::capture
