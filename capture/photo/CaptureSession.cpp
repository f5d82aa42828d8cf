#include "photo/CaptureSession.h"

#include "ComponentError.h"
#include "GetPIC.h"

#include <commctrl.h>

namespace vardolin::capture {
namespace {

constexpr UINT_PTR kSessionId = 0x5345;

// The session lives in a subclass of the still-photo box, so it ends exactly
// when that window is destroyed at unload.
LRESULT CALLBACK SessionKeeper(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &SessionKeeper, id);
        delete reinterpret_cast<CaptureSession*>(data);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

CaptureSession& SessionOf(GetPIC& window) {
    PictureBox* still = window.Picture1();
    HWND box = still ? still->Window() : nullptr;
    if (!box) throw ComponentError(error_number::kObjectRequired, L"Object required");
    DWORD_PTR data = 0;
    if (GetWindowSubclass(box, &SessionKeeper, kSessionId, &data) && data)
        return *reinterpret_cast<CaptureSession*>(data);
    auto session = std::make_unique<CaptureSession>();
    if (!SetWindowSubclass(box, &SessionKeeper, kSessionId, reinterpret_cast<DWORD_PTR>(session.get())))
        throw ComponentError(error_number::kObjectRequired, L"Object required");
    return *session.release();
}

}  // namespace vardolin::capture
