// Tab-key navigation between the capture window's controls. The window runs
// inside the host's message loop, which knows nothing of it, so a message hook
// on the thread gives it the keyboard handling of a dialog.
#pragma once

#include "Win32Handles.h"

namespace vardolin::capture {

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

}  // namespace vardolin::capture
