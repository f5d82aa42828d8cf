// The roster's editing commands: the items of the popup menu `the` and the
// double-click on List1. Each works on the roster list; the window is taken
// off the top while a question is up.
#pragma once

#include "win/Environment.h"
#include "roster/RosterList.h"
#include "roster/RosterTexts.h"
#include "win/TopmostWindow.h"

namespace vardolin::roster {

// OK and Cancel, Cancel the default button: Enter keeps the entry.
inline constexpr UINT kConfirmRemovalType = MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2;

// Removes the selected entry after the user confirmed it. The window is off
// the top while the question is up and on top afterwards, whatever the answer.
void Del(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment);

// Removes the selected entry: at once with direct delete (Check2) on,
// otherwise after confirmation.
void List1_DblClick(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment,
                    bool directDelete);

void clearall(RosterList roster);

// Removes every entry whose photo is already stored.
void replace(RosterList roster) noexcept;

// Move the selected entry to the front / to the end; the entries between
// shift by one position. The selection stays on its position.
void totop(RosterList roster) noexcept;
void tolast(RosterList roster) noexcept;

// Opens the photo folder (PhotoFiles' PhotoFolder) in the system's file
// manager, creating it first when it is missing. When it cannot be created
// or opened, the user is told where it is and why.
void OpenPhotoFolder(vardolin::TopmostWindow& window, const vardolin::Environment& environment) noexcept;

// Lets the user choose the photo folder and remembers the choice for this
// user. Does nothing while IT's policy sets the folder.
void ChangePhotoFolder(vardolin::TopmostWindow& window, const vardolin::Environment& environment) noexcept;

}  // namespace vardolin::roster
