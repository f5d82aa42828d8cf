#include "photo/CaptureSession.h"

#include "ComponentError.h"
#include "GetPIC.h"

#include <commctrl.h>

#include <memory>
#include <new>

namespace vardolin::capture {
namespace {

constexpr UINT_PTR kSessionId = 0x5345;
constexpr const wchar_t* kSessionProperty = L"VardolinCaptureSession";

// The session lives in a subclass of the still-photo box, so it ends exactly
// when that window is destroyed at unload.
LRESULT CALLBACK SessionKeeper(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &SessionKeeper, id);
        RemovePropW(window, kSessionProperty);
        delete reinterpret_cast<CaptureSession*>(data);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

CaptureSession& SessionOf(GetPIC& window) {
    PictureBox* still = window.Picture1();
    HWND box = still ? still->Window() : nullptr;
    if (!box) throw ComponentError(error_number::kObjectRequired, L"Object required");
    if (HANDLE found = GetPropW(box, kSessionProperty)) return *static_cast<CaptureSession*>(found);
    auto session = std::make_unique<CaptureSession>();
    if (!SetPropW(box, kSessionProperty, session.get())) throw std::bad_alloc();
    if (!SetWindowSubclass(box, &SessionKeeper, kSessionId, reinterpret_cast<DWORD_PTR>(session.get()))) {
        RemovePropW(box, kSessionProperty);
        throw std::bad_alloc();
    }
    return *session.release();
}

}  // namespace vardolin::capture
