#include "ListDrag.h"

#include "ListPointer.h"

namespace vardolin::roster {
namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

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

void ListDrag::List1_MouseMove(const RosterList& roster, const capture::ListDrawingTools* tools,
                               const ListMouseEvent& event) {
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
