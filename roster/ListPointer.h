// The mouse pointer shown over the roster list: the default arrow, or the
// four-way move arrow while an entry is pressed.
#pragma once

#include <windows.h>

namespace vardolin::roster {

enum class ListPointer { Default, Move };

// Shows the pointer now and keeps showing it over the list until changed.
void SetListPointer(HWND list, ListPointer pointer) noexcept;

}  // namespace vardolin::roster
