#include "roster/ListDrag.h"

#include <commctrl.h>

namespace vardolin::roster {
namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

// The mouse pointer shown over the roster list: the default arrow, or the
// four-way move arrow while an entry is pressed.
enum class ListPointer { Default, Move };

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

// Shows the pointer now and keeps showing it over the list until changed.
void SetListPointer(HWND list, ListPointer pointer) noexcept {
    if (!list) return;
    // Installs the subclass the first time, and later only updates its data.
    SetWindowSubclass(list, &PointerSubclass, kSubclassId, static_cast<DWORD_PTR>(pointer));
    SetCursor(CursorOf(pointer));
}

}  // namespace

bool ListDrag::StillValid(const RosterList& roster) const {
    return index_ != kNoSelection && index_ < roster.Count() && roster.Text(index_) == text_;
}

void ListDrag::MoveInFrontOf(RosterList& roster, int target) const {
    roster.Insert(target, text_);
    // The insertion pushed the old copy one down when it stood behind the target.
    roster.Remove(index_ < target ? index_ : index_ + 1);
    roster.Select(index_ < target ? target - 1 : target);
}

void ListDrag::List1_MouseDown(const RosterList& roster) {
    index_ = roster.Selection();
    roster.ItemRect(index_, itemRect_);  // keeps the old rectangle when nothing is selected
    topIndex_ = roster.TopIndex();
    text_ = index_ == kNoSelection ? std::wstring() : roster.Text(index_);
    SetListPointer(roster.Window(), ListPointer::Move);
}

void ListDrag::List1_MouseMove(const RosterList& roster, const ListDrawingTools* tools, const ListMouseEvent& event) {
    if (event.button != kLeftButton) return;
    if (roster.TopIndex() == topIndex_) {
        if (tools) Rectangle(tools->Dc(), itemRect_.left, itemRect_.top, itemRect_.right, itemRect_.bottom);
        return;
    }
    // The list scrolled: the entry's row moved. Drawn from the next move on.
    roster.ItemRect(index_, itemRect_);
    topIndex_ = roster.TopIndex();
}

void ListDrag::List1_MouseUp(RosterList roster, const ListMouseEvent& event, const PopupMenu& popup) {
    bool popupShown = event.button == kRightButton;
    if (popupShown) popup(event.x + kPopupOffsetX, event.y + kPopupOffsetY);

    // Erases the outline.
    InvalidateRect(roster.Window(), nullptr, TRUE);
    UpdateWindow(roster.Window());

    // Only a drag moves an entry: nothing is dragged with the right button,
    // and after a popup command the selection no longer says where to.
    int target = roster.Selection();
    if (!popupShown && target != kNoSelection && target != index_ && StillValid(roster)) MoveInFrontOf(roster, target);
    SetListPointer(roster.Window(), ListPointer::Default);
}

}  // namespace vardolin::roster
