// The capture window's control events: buttons, check boxes, the slider,
// the roster list's mouse and the popup menu `the`.
#include "GetPICExtensions.h"
#include "GetPICLoaded.h"
#include "UntrappedError.h"

#include <commctrl.h>

#include <algorithm>

namespace vardolin::capture {
namespace {

int MouseButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

int ShiftState(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
           ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

int ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return 4;
    default: return 0;
    }
}

}  // namespace

void GetPIC::PopupMenuThe(float xTwips, float yTwips) {
    if (!IsLoaded()) return;
    POINT at{static_cast<LONG>(xTwips / kTwipsPerPixel), static_cast<LONG>(yTwips / kTwipsPerPixel)};
    ClientToScreen(loaded_->window, &at);
    UINT chosen = TrackPopupMenu(loaded_->menuThe.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                 at.x, at.y, 0, loaded_->window, nullptr);
    if (auto item = MenuItemOf(chosen)) RunMenuCommand(*item);
}

void GetPIC::RunMenuCommand(MenuItem item) {
    if (Extensions().menuCommand) Extensions().menuCommand(*this, item);
}

void GetPIC::OnCommand(ControlId id, WORD notification) {
    auto& ext = Extensions();
    auto run = [this](const std::function<void(GetPIC&)>& handler) {
        if (handler) handler(*this);
    };
    if (id == ControlId::List1) {
        if (notification == LBN_DBLCLK) run(ext.list1DblClick);
        return;
    }
    if (id == ControlId::ezVidCap1) return ezVidCap1_StateChanged(notification);
    if (notification != BN_CLICKED) return;
    switch (id) {
    case ControlId::Check1: Check1_Click(); break;
    case ControlId::Check2: Check2_Click(); break;
    case ControlId::CmdSaveDIB: run(ext.cmdSaveDIBClick); break;
    case ControlId::Command1: run(ext.command1Click); break;
    case ControlId::CmdOK: run(ext.cmdOKClick); break;
    case ControlId::CmdFormatDlg: CameraAutomation(CameraDispatch()).ShowFormatDialog(); break;
    case ControlId::CmdSourceDlg: CameraAutomation(CameraDispatch()).ShowSourceDialog(); break;
    default: break;
    }
}

void GetPIC::OnHScroll(WORD request, WORD thumbPosition) {
    int value = HScroll1Value();
    switch (request) {
    case SB_LINELEFT: case SB_PAGELEFT: value -= kQualityStep; break;
    case SB_LINERIGHT: case SB_PAGERIGHT: value += kQualityStep; break;
    case SB_LEFT: value = kQualityMin; break;
    case SB_RIGHT: value = kQualityMax; break;
    case SB_THUMBPOSITION: value = static_cast<short>(thumbPosition); break;
    default: return;  // dragging the thumb changes the value only when it is let go
    }
    SetHScroll1Value(std::clamp(value, kQualityMin, kQualityMax));
}

LRESULT GetPIC::OnControlColor(HDC dc, HWND control) {
    if (control == Control(ControlId::Label1)) SetTextColor(dc, RGB(0, 0, 128));
    else if (control == Control(ControlId::Label2)) SetTextColor(dc, RGB(0, 0, 192));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void GetPIC::OnListMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    auto& ext = Extensions();
    ListMouseEvent event{0, ShiftState(wParam), static_cast<float>(static_cast<short>(LOWORD(lParam)) * kTwipsPerPixel),
                         static_cast<float>(static_cast<short>(HIWORD(lParam)) * kTwipsPerPixel)};
    const std::function<void(GetPIC&, const ListMouseEvent&)>* handler = nullptr;
    if (message == WM_MOUSEMOVE) {
        event.button = MouseButtons(wParam);
        handler = &ext.list1MouseMove;
    } else {
        event.button = ButtonOf(message);
        bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
        handler = down ? &ext.list1MouseDown : &ext.list1MouseUp;
    }
    if (event.button != 0 || message == WM_MOUSEMOVE)
        if (*handler) (*handler)(*this, event);
}

LRESULT CALLBACK GetPIC::ListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, &GetPIC::ListSubclassProc, id);
    // The list does its own work first (selection, capture), then the event runs.
    LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    bool mouse = message == WM_MOUSEMOVE || ButtonOf(message) != 0;
    if (mouse) {
        auto* window = reinterpret_cast<GetPIC*>(self);
        RunUntrapped(GetAncestor(list, GA_ROOT), [&] { window->OnListMouse(message, wParam, lParam); });
    }
    return result;
}

}  // namespace vardolin::capture
