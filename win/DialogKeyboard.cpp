#include "win/DialogKeyboard.h"

namespace vardolin {
namespace {

thread_local HWND navigatedWindow = nullptr;

bool IsKeyFor(HWND window, const MSG& msg) {
    return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && (msg.hwnd == window || IsChild(window, msg.hwnd));
}

// A dialog's Enter presses its default button; this window has none, so Enter
// presses the button that has the focus, as Space does.
bool PressFocusedButton(HWND window, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
    HWND focus = GetFocus();
    if (!focus || !IsChild(window, focus)) return false;
    auto code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) return false;
    SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    HWND window = navigatedWindow;
    if (code == HC_ACTION && wParam == PM_REMOVE && window && IsKeyFor(window, *msg) &&
        (PressFocusedButton(window, *msg) || IsDialogMessageW(window, msg))) {
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

}  // namespace vardolin
