// The screenshot programs' wait: the thread's messages are handled while the
// window is loaded, until it closes or a minute has passed; then the window is
// unloaded.
#pragma once

#include <windows.h>

namespace vardolin::test {

template <class Window>
void ShowUntilClosed(Window& window) {
    UINT_PTR deadline = SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (window.IsLoaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == deadline) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    window.Unload();
}

}  // namespace vardolin::test
