// The menu command Add: fills the roster from cells that the user picks in
// the host's own range box.
#pragma once

#include "win/Environment.h"
#include "roster/RosterList.h"
#include "win/TopmostWindow.h"

#include <oaidl.h>

namespace vardolin::roster {

// Hides the window, asks the host for cells, appends the text of every cell
// that is not blank (white space and invisible characters only), removes
// exact duplicates and shows the window again; names it added that differ
// from another entry only in case are named in a reminder. Every
// step runs even when an earlier one failed; a cancelled box adds nothing.
// Only the cells that a filter shows and that lie inside the sheet's used
// range are read. A host that stays busy, or a picked range that cannot be
// found on the active sheet, ends the import with nothing added, and the
// user is told why.
void Add(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment,
         IDispatch* hostApplication) noexcept;

}  // namespace vardolin::roster
