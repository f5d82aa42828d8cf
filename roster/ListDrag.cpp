#include "ListDrag.h"

#include "GetPIC.h"
#include "ListDrawingTools.h"
#include "ListPointer.h"
#include "RosterList.h"

#include <string>

namespace vardolin::roster {
namespace {

// What a press recorded about the entry being dragged. It stays after the
// release until the next press.
struct DragState {
    RECT itemRect{};    // the entry's row, in the list's client pixels
    int topIndex = 0;   // the list's top index when itemRect was taken
    int index = -1;     // the entry pressed on; -1: none was selected
    std::wstring text;  // its text at the press
};

// This thread's drag (the capture window lives once per thread).
DragState& CurrentDrag() {
    // Kept for the thread's lifetime and never destroyed: a thread-local
    // object with a destructor would be destroyed at thread exit by code of
    // this library, which the host may have unloaded by then.
    thread_local DragState* drag = nullptr;
    if (!drag) drag = new DragState();
    return *drag;
}

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

RosterList RosterOf(capture::GetPIC& window) { return RosterList(window.Control(capture::ControlId::List1)); }

void DrawOutline(capture::GetPIC& window, const RECT& r) {
    if (const capture::ListDrawingTools* tools = window.ListTools())
        Rectangle(tools->Dc(), r.left, r.top, r.right, r.bottom);
}

// The drag still describes the list: an entry was pressed and still stands
// where it stood, with the same text. A popup command may have changed the
// list since the press.
bool DragStillValid(const RosterList& roster, const DragState& drag) {
    return drag.index != kNoSelection && drag.index < roster.Count() && roster.Text(drag.index) == drag.text;
}

// Puts the dragged entry in front of the entry at `target` and selects it.
void MoveInFrontOf(RosterList& roster, const DragState& drag, int target) {
    roster.Insert(target, drag.text);
    // The insertion pushed the old copy one down when it stood behind the target.
    roster.Remove(drag.index < target ? drag.index : drag.index + 1);
    roster.Select(drag.index < target ? target - 1 : target);
}

}  // namespace

void List1_MouseDown(capture::GetPIC& window, const capture::ListMouseEvent&) {
    RosterList roster = RosterOf(window);
    DragState& drag = CurrentDrag();
    drag.index = roster.Selection();
    roster.ItemRect(drag.index, drag.itemRect);  // keeps the old rectangle when nothing is selected
    drag.topIndex = roster.TopIndex();
    drag.text = drag.index == kNoSelection ? std::wstring() : roster.Text(drag.index);
    SetListPointer(roster.Window(), ListPointer::Move);
}

void List1_MouseMove(capture::GetPIC& window, const capture::ListMouseEvent& event) {
    if (event.button != kLeftButton) return;
    RosterList roster = RosterOf(window);
    DragState& drag = CurrentDrag();
    if (roster.TopIndex() == drag.topIndex) {
        DrawOutline(window, drag.itemRect);
        return;
    }
    // The list scrolled: the entry's row moved. Drawn from the next move on.
    roster.ItemRect(drag.index, drag.itemRect);
    drag.topIndex = roster.TopIndex();
}

void List1_MouseUp(capture::GetPIC& window, const capture::ListMouseEvent& event) {
    RosterList roster = RosterOf(window);
    bool popupShown = event.button == kRightButton;
    if (popupShown) window.PopupMenuThe(event.x + kPopupOffsetX, event.y + kPopupOffsetY);

    // Erases the outline.
    InvalidateRect(roster.Window(), nullptr, TRUE);
    UpdateWindow(roster.Window());

    // Only a drag moves an entry: nothing is dragged with the right button,
    // and after a popup command the selection no longer says where to.
    const DragState& drag = CurrentDrag();
    int target = roster.Selection();
    if (!popupShown && target != kNoSelection && target != drag.index && DragStillValid(roster, drag))
        MoveInFrontOf(roster, drag, target);
    SetListPointer(roster.Window(), ListPointer::Default);
}

}  // namespace vardolin::roster
