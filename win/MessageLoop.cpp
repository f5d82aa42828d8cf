#include "win/MessageLoop.h"

namespace vardolin {

bool HandleQueuedMessages() noexcept {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

bool WaitHandlingMessages(HANDLE object, DWORD timeoutMs) noexcept {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        DWORD waited = MsgWaitForMultipleObjects(1, &object, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) return true;
        if (!HandleQueuedMessages()) return false;
    }
}

}  // namespace vardolin
