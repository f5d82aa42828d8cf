// When the host quits, its user-interface thread uninitialises COM, and
// Windows then unloads the DLLs that COM loaded for the thread whatever
// DllCanUnloadNow says. The capture and About windows (their window
// procedures, the keyboard hook, the About timers, the camera graph) must not
// outlive that.
#pragma once

namespace vardolin::server {

// On the first call on a thread: keeps this DLL loaded until the process
// ends, and closes the thread's capture and About windows, with their usual
// unload, when the thread uninitialises COM for the last time. Later calls on
// the same thread do nothing. While something else (an input method, say)
// still holds COM on the thread, the host's last CoUninitialize leaves COM
// up and unloads nothing; the windows then stay.
void CloseWindowsWhenHostQuits() noexcept;

}  // namespace vardolin::server
