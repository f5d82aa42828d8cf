// The component's way in: Class1.Form_show hands over the host's objects and
// shows the capture window.
#pragma once

#include <oaidl.h>

namespace vardolin::capture {

// Keeps the first call's host objects and shows the capture window modeless.
// Never fails towards the caller.
void FormShow(IDispatch* application, IDispatch* workbook, IDispatch* worksheet) noexcept;

// False while a capture window is loaded: the library must stay in memory
// (DllCanUnloadNow).
bool CanUnloadNow() noexcept;

}  // namespace vardolin::capture
