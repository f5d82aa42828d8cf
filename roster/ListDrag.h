// Reordering the roster by dragging an entry with the left button onto
// another entry (the move pointer shows while it is pressed), and the popup
// menu on a right release over the list.
#pragma once

#include "roster/ListDrawingTools.h"
#include "roster/RosterList.h"

#include <functional>
#include <string>

namespace vardolin::roster {

// Where the popup menu opens: the pointer position plus these offsets, in
// twips of the capture window's client area.
inline constexpr float kPopupOffsetX = 9600.0f;
inline constexpr float kPopupOffsetY = 1400.0f;

// A mouse event of the roster list: button 1 left, 2 right, 4 middle (for a
// move: the buttons held); shift 1 Shift, 2 Ctrl, 4 Alt; position in twips
// relative to the list's top-left corner.
struct ListMouseEvent {
    int button;
    int shift;
    float x;
    float y;
};

// Opens the popup menu at a point of the window's client area (twips) and
// runs the chosen command before returning.
using PopupMenu = std::function<void(float xTwips, float yTwips)>;

// What a press recorded about the entry being dragged. It stays after the
// release until the next press.
class ListDrag {
public:
    void List1_MouseDown(const RosterList& roster);
    // The outline is drawn with the list's tools; none are drawn without them.
    void List1_MouseMove(const RosterList& roster, const ListDrawingTools* tools, const ListMouseEvent& event);
    // The roster is held by value: a popup command may change the window.
    void List1_MouseUp(RosterList roster, const ListMouseEvent& event, const PopupMenu& popup);

private:
    // The drag still describes the list: an entry was pressed and still stands
    // where it stood, with the same text. A popup command may have changed the
    // list since the press.
    bool StillValid(const RosterList& roster) const;
    // Puts the dragged entry in front of the entry at `target` and selects it.
    void MoveInFrontOf(RosterList& roster, int target) const;

    RECT itemRect_{};           // the entry's row, in the list's client pixels
    int topIndex_ = 0;          // the list's top index when itemRect_ was taken
    int index_ = kNoSelection;  // the entry pressed on; none: nothing was selected
    std::wstring text_;         // its text at the press
};

}  // namespace vardolin::roster
