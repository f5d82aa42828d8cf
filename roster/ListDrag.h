// Reordering the roster by dragging an entry with the left button onto
// another entry, and the popup menu on a right release over the list.
#pragma once

#include "GetPICExtensions.h"

#include <string>

namespace vardolin::roster {

// Where the popup menu opens: the pointer position plus these offsets, in
// twips of the capture window's client area.
inline constexpr float kPopupOffsetX = 9600.0f;
inline constexpr float kPopupOffsetY = 1400.0f;

// What a press recorded about the entry being dragged. It stays after the
// release until the next press.
struct DragState {
    RECT itemRect{};    // the entry's row, in the list's client pixels
    int topIndex = 0;   // the list's top index when itemRect was taken
    int index = -1;     // the entry pressed on; -1: none was selected
    std::wstring text;  // its text at the press
};

// This thread's drag (the capture window lives once per thread).
DragState& CurrentDrag() noexcept;

void List1_MouseDown(capture::GetPIC& window, const capture::ListMouseEvent& event);
void List1_MouseMove(capture::GetPIC& window, const capture::ListMouseEvent& event);
void List1_MouseUp(capture::GetPIC& window, const capture::ListMouseEvent& event);

}  // namespace vardolin::roster
