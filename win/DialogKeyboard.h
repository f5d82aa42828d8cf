// The keyboard of a dialog for the capture window: Tab and Shift+Tab move in
// tab order, Space and Enter press the focused button, the arrow keys work in
// the list and on the slider. The window runs inside the host's message loop,
// which knows nothing of it and may take keys for its own shortcuts, so a
// message hook on the thread hands every key meant for the window to the
// system's dialog keyboard handling before the host sees it.
#pragma once

#include "win/Win32Handles.h"

namespace vardolin {

class DialogKeyboard {
public:
    explicit DialogKeyboard(HWND window);
    ~DialogKeyboard();
    DialogKeyboard(const DialogKeyboard&) = delete;
    DialogKeyboard& operator=(const DialogKeyboard&) = delete;

private:
    HWND previous_;
    UniqueHook hook_;
};

}  // namespace vardolin
