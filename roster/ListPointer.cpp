#include "ListPointer.h"

#include <commctrl.h>

namespace vardolin::roster {
namespace {

constexpr UINT_PTR kSubclassId = 0x524F53;  // one per list, our own id

HCURSOR CursorOf(ListPointer pointer) noexcept {
    return LoadCursorW(nullptr, pointer == ListPointer::Move ? IDC_SIZEALL : IDC_ARROW);
}

// Keeps the chosen pointer when the list asks for one; with the default
// pointer the list chooses as it always does.
LRESULT CALLBACK PointerSubclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR pointer) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, &PointerSubclass, id);
    if (message == WM_SETCURSOR && static_cast<ListPointer>(pointer) == ListPointer::Move &&
        LOWORD(lParam) == HTCLIENT) {
        SetCursor(CursorOf(ListPointer::Move));
        return TRUE;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void SetListPointer(HWND list, ListPointer pointer) noexcept {
    if (!list) return;
    // Installs the subclass the first time, and later only updates its data.
    SetWindowSubclass(list, &PointerSubclass, kSubclassId, static_cast<DWORD_PTR>(pointer));
    SetCursor(CursorOf(pointer));
}

}  // namespace vardolin::roster
