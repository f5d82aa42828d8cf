// A window's mouse message decoded once, as the handlers need it: what
// happened, the button it is about, the buttons and shift keys held, and the
// pointer's position.
#pragma once

#include <windows.h>

namespace vardolin {

enum class MouseAction { Other, Move, Down, Up };

// Button bits: 1 left, 2 right, 4 middle. Shift bits: 1 Shift, 2 Ctrl, 4 Alt.
struct MouseEvent {
    MouseAction action;
    int button;   // Down, Up: the button pressed or let go; 0 otherwise
    int held;     // the buttons held as the message was sent
    int shift;    // the shift keys held
    POINT point;  // client pixels (may be negative while the mouse is captured)
};

// Any message: a message other than a button going down or up or the
// pointer moving is MouseAction::Other.
MouseEvent FromMessage(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vardolin
