// Reordering the roster by dragging an entry with the left button onto
// another entry, and the popup menu on a right release over the list.
#pragma once

#include "GetPICExtensions.h"

namespace vardolin::roster {

// Where the popup menu opens: the pointer position plus these offsets, in
// twips of the capture window's client area.
inline constexpr float kPopupOffsetX = 9600.0f;
inline constexpr float kPopupOffsetY = 1400.0f;

void List1_MouseDown(capture::GetPIC& window, const capture::ListMouseEvent& event);
void List1_MouseMove(capture::GetPIC& window, const capture::ListMouseEvent& event);
void List1_MouseUp(capture::GetPIC& window, const capture::ListMouseEvent& event);

}  // namespace vardolin::roster
