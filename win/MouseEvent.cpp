#include "win/MouseEvent.h"

namespace vardolin {
namespace {

struct ButtonMessage {
    UINT down, up;
    int button;
};
constexpr ButtonMessage kButtonMessages[] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, 1}, {WM_RBUTTONDOWN, WM_RBUTTONUP, 2}, {WM_MBUTTONDOWN, WM_MBUTTONUP, 4}};

int ButtonsHeld(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

// The message carries Shift and Ctrl; Alt is read from the keyboard state.
int ShiftHeld(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

}  // namespace

MouseEvent FromMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MouseEvent event{MouseAction::Other,
                     0,
                     ButtonsHeld(wParam),
                     ShiftHeld(wParam),
                     {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}};
    if (message == WM_MOUSEMOVE) event.action = MouseAction::Move;
    for (const ButtonMessage& b : kButtonMessages) {
        if (message == b.down || message == b.up) {
            event.action = message == b.down ? MouseAction::Down : MouseAction::Up;
            event.button = b.button;
        }
    }
    return event;
}

}  // namespace vardolin
