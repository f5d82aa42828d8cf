// The capture window's events, each handed to the part that does the work:
// the roster (roster/), the photo (photo/) and the About window (about/).
// The window's messages are turned into these events at the end of the file.
#include "capture/ComponentState.h"
#include "win/ComponentError.h"
#include "capture/GetPICLoaded.h"
#include "roster/RosterCommands.h"
#include "roster/RosterImport.h"
#include "win/Settings.h"
#include "win/UntrappedError.h"
#include "about/frmAbout.h"
#include "capture/photo/ClassSheetCommand.h"
#include "capture/photo/CropFrame.h"
#include "capture/photo/StoreCrop.h"
#include "capture/photo/TakePhoto.h"

#include <commctrl.h>

#include <algorithm>

namespace vardolin::capture {

// --- the buttons and options ---

void GetPIC::CmdOK_Click() noexcept { about::CmdOK_Click(*this, component_.AboutWindow()); }
void GetPIC::CmdSaveDIB_Click() { TakeOrRetakePhoto(Photo()); }
void GetPIC::CmdFormatDlg_Click() { CameraAutomation(CameraDispatch()).ShowFormatDialog(); }
void GetPIC::CmdSourceDlg_Click() {
    CameraAutomation(CameraDispatch()).ShowSourceDialog();
    if (IsLoaded()) loaded_->handsFreeOn = HandsFreeEnabled();
}
void GetPIC::HandsFree_Timer() {
    if (!IsLoaded() || !loaded_->picture1 || !loaded_->picture2) return;  // never an error box per tick
    std::wstring first = Roster().Count() > 0 ? Roster().Text(0) : std::wstring();
    // Not while a dialog or message box holds the window.
    bool on = loaded_->handsFreeOn && IsWindowEnabled(loaded_->window);
    loaded_->handsFree.Tick(Photo(), on, first, GetTickCount64());
}
void GetPIC::Check1_Click() noexcept { ApplyKeepOnTop(); }
void GetPIC::Check2_Click() noexcept { ApplyDirectDelete(); }
void GetPIC::HScroll1_Change() { ApplyQuality(); }
void GetPIC::ezVidCap1_StateChanged(WORD notification) { FollowCameraState(notification); }
void GetPIC::Command1_Click() {
    // The entry leaves the roster only when its photo was stored.
    roster::RosterList roster = Roster();
    int before = roster.Count();
    std::wstring entry = before > 0 ? roster.Text(0) : std::wstring();
    StoreCrop(Photo(), roster, *this, component_.environment, component_.jpegQuality);
    if (roster.Count() >= before) return;
    loaded_->doneMarks.MarkStored(entry);
    InvalidateRect(roster.Window(), nullptr, TRUE);
}

// --- the roster list and its popup menu `the` ---

void GetPIC::List1_DblClick() {
    roster::List1_DblClick(Roster(), *this, component_.environment, IsChecked(ControlId::Check2));
}
void GetPIC::List1_MouseDown(const roster::ListMouseEvent&) { drag_.List1_MouseDown(Roster()); }
void GetPIC::List1_MouseMove(const roster::ListMouseEvent& event) {
    drag_.List1_MouseMove(Roster(), ListTools(), event);
}
void GetPIC::List1_MouseUp(const roster::ListMouseEvent& event) {
    drag_.List1_MouseUp(Roster(), event, [this](float x, float y) { PopupMenuThe(x, y); });
}
void GetPIC::Add_Click() {
    roster::Add(Roster(), *this, component_.environment, component_.hostApplication.Get());
    RelistDoneMarks();  // names may come back whose photos are there
}
void GetPIC::Del_Click() { roster::Del(Roster(), *this, component_.environment); }
void GetPIC::clearall_Click() { roster::clearall(Roster()); }
void GetPIC::replace_Click() { roster::replace(Roster()); }
void GetPIC::totop_Click() { roster::totop(Roster()); }
void GetPIC::tolast_Click() { roster::tolast(Roster()); }
void GetPIC::ClassSheet_Click() { MakeClassSheet(Roster(), *this, component_.environment); }

bool GetPIC::List1_KeyDown(UINT key) {
    if (key != VK_SPACE && key != VK_RETURN) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    HWND list = Control(ControlId::List1);
    if (key == VK_SPACE) {
        if (IsWindowEnabled(Control(ControlId::CmdSaveDIB))) CmdSaveDIB_Click();
    } else if (IsWindowEnabled(Control(ControlId::Command1))) {
        // The crop under the frame as it is placed, as a click on the frame takes it.
        L_KeyDown(Photo(), VK_SPACE);
        int before = Roster().Count();
        Command1_Click();
        if (IsLoaded() && Roster().Count() < before && !OffersNewPhoto(Control(ControlId::CmdSaveDIB)))
            CmdSaveDIB_Click();  // the live preview again, for the next name
    }
    if (IsLoaded() && GetFocus() != list && GetForegroundWindow() == Window()) SetFocus(list);
    return true;
}

// --- the still-photo box and its crop frame ---

void GetPIC::Picture1_MouseDown(const MouseEvent& mouse) { StillMouseDown(Photo(), mouse); }
void GetPIC::Picture1_MouseMove(const MouseEvent& mouse) { StillMouseMove(Photo(), mouse); }
void GetPIC::Picture1_MouseUp(const MouseEvent& mouse) { StillMouseUp(Photo(), mouse); }
void GetPIC::Picture1_KeyDown(UINT key) { L_KeyDown(Photo(), key, GetKeyState(VK_SHIFT) < 0 ? kShiftedFrameStep : 1); }

// --- the parts the events work on ---

roster::RosterList& GetPIC::Roster() {
    if (!IsLoaded()) throw ComponentError::ObjectRequired();
    return loaded_->roster;
}

PhotoParts GetPIC::Photo() {
    if (!IsLoaded() || !loaded_->picture1 || !loaded_->picture2) throw ComponentError::ObjectRequired();
    return {*loaded_->picture1,
            *loaded_->picture2,
            loaded_->session,
            loaded_->camera.get(),
            Control(ControlId::CmdSaveDIB),
            Control(ControlId::Command1),
            Control(ControlId::Label1)};
}

// --- from window messages to events ---

void GetPIC::PopupMenuThe(float xTwips, float yTwips) {
    if (!IsLoaded()) return;
    POINT at{static_cast<LONG>(xTwips / kTwipsPerPixel), static_cast<LONG>(yTwips / kTwipsPerPixel)};
    ClientToScreen(loaded_->window, &at);
    UINT chosen = TrackPopupMenu(loaded_->menuThe.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                 at.x, at.y, 0, loaded_->window, nullptr);
    if (auto item = MenuItemOf(chosen)) RunMenuCommand(*item);
}

void GetPIC::RunMenuCommand(MenuItem item) {
    switch (item) {
    case MenuItem::Add: Add_Click(); break;
    case MenuItem::Del: Del_Click(); break;
    case MenuItem::clearall: clearall_Click(); break;
    case MenuItem::replace: replace_Click(); break;
    case MenuItem::totop: totop_Click(); break;
    case MenuItem::tolast: tolast_Click(); break;
    case MenuItem::OpenPhotoFolder: roster::OpenPhotoFolder(*this, component_.environment); break;
    case MenuItem::ChangePhotoFolder:
        roster::ChangePhotoFolder(*this, component_.environment);
        RelistDoneMarks();
        break;
    case MenuItem::ClassSheet: ClassSheet_Click(); break;
    }
}

void GetPIC::OnCommand(ControlId id, WORD notification) {
    if (id == ControlId::List1) {
        if (notification == LBN_DBLCLK) List1_DblClick();
        return;
    }
    if (id == ControlId::ezVidCap1) return ezVidCap1_StateChanged(notification);
    if (notification != BN_CLICKED) return;
    switch (id) {
    case ControlId::Check1: Check1_Click(); break;
    case ControlId::Check2: Check2_Click(); break;
    case ControlId::CmdSaveDIB: CmdSaveDIB_Click(); break;
    case ControlId::Command1: Command1_Click(); break;
    case ControlId::CmdOK: CmdOK_Click(); break;
    case ControlId::CmdFormatDlg: CmdFormatDlg_Click(); break;
    case ControlId::CmdSourceDlg: CmdSourceDlg_Click(); break;
    default: break;
    }
}

void GetPIC::OnHScroll(WORD request, WORD thumbPosition) {
    int value = HScroll1Value();
    switch (request) {
    case SB_LINELEFT:
    case SB_PAGELEFT: value -= kQualityStep; break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT: value += kQualityStep; break;
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

void GetPIC::OnListMouse(const MouseEvent& mouse) {
    roster::ListMouseEvent event{mouse.action == MouseAction::Move ? mouse.held : mouse.button, mouse.shift,
                                 static_cast<float>(mouse.point.x * kTwipsPerPixel),
                                 static_cast<float>(mouse.point.y * kTwipsPerPixel)};
    switch (mouse.action) {
    case MouseAction::Move: return List1_MouseMove(event);
    case MouseAction::Down: return List1_MouseDown(event);
    case MouseAction::Up: return List1_MouseUp(event);
    case MouseAction::Other: return;
    }
}

void GetPIC::OnStillMouse(const MouseEvent& mouse) {
    switch (mouse.action) {
    case MouseAction::Move: return Picture1_MouseMove(mouse);
    case MouseAction::Down: return Picture1_MouseDown(mouse);
    case MouseAction::Up: return Picture1_MouseUp(mouse);
    case MouseAction::Other: return;
    }
}

LRESULT CALLBACK GetPIC::ListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, &GetPIC::ListSubclassProc, id);
    auto* window = reinterpret_cast<GetPIC*>(self);
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter is the list's own while it has the focus, not the dialog keyboard's.
        LRESULT code = DefSubclassProc(list, message, wParam, lParam);
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam != VK_SPACE && wParam != VK_RETURN) break;
        // A key held down repeats: one photo, one store per press.
        if (lParam & (1 << 30)) return 0;
        {
            bool handled = false;
            RunUntrapped(GetAncestor(list, GA_ROOT),
                         [&] { handled = window->List1_KeyDown(static_cast<UINT>(wParam)); });
            if (handled) return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L' ' || wParam == L'\r') return 0;  // no search for a name starting with a space
        break;
    default: break;
    }
    // The list does its own work first (selection, capture), then the event runs.
    LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    if (MouseEvent mouse = FromMessage(message, wParam, lParam); mouse.action != MouseAction::Other) {
        RunUntrapped(GetAncestor(list, GA_ROOT), [&] { window->OnListMouse(mouse); });
    }
    return result;
}

}  // namespace vardolin::capture
