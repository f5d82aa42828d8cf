// Waiting on the window's thread without keeping its windows waiting: the
// messages that arrive meanwhile are handled.
#pragma once

#include <windows.h>

namespace vardolin {

// Dispatches what is queued; false when the thread is asked to quit (the
// request is put back for the thread's own loop).
bool HandleQueuedMessages() noexcept;

// Waits until object is signalled, handling messages meanwhile; false when
// timeoutMs passed first or the thread is asked to quit.
bool WaitHandlingMessages(HANDLE object, DWORD timeoutMs) noexcept;

}  // namespace vardolin
