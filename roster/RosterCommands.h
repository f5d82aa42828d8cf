// The roster's editing commands: the items of the popup menu `the` and the
// double-click on List1.
#pragma once

#include "MenuThe.h"

namespace vardolin::capture {
class GetPIC;
}

namespace vardolin::roster {

inline constexpr const wchar_t* kConfirmRemovalText = L"是否移除   ";
inline constexpr const wchar_t* kConfirmRemovalTitle = L"请确认删除";
// OK and Cancel, Cancel the default button: Enter keeps the entry.
inline constexpr UINT kConfirmRemovalType = MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2;

// Runs the command of a menu item.
void RunMenuCommand(capture::GetPIC& window, capture::MenuItem item);

// Removes the selected entry after the user confirmed it. The window is off
// the top while the question is up and on top afterwards, whatever the answer.
void Del(capture::GetPIC& window);

// Removes the selected entry: at once when Check2 (direct delete) is on,
// otherwise after confirmation.
void List1_DblClick(capture::GetPIC& window);

void clearall(capture::GetPIC& window);

// Removes every entry whose photo is already stored.
void replace(capture::GetPIC& window) noexcept;

// Move the selected entry to the front / to the end; the entries between
// shift by one position. The selection stays on its position.
void totop(capture::GetPIC& window) noexcept;
void tolast(capture::GetPIC& window) noexcept;

}  // namespace vardolin::roster
