// Duplicate entries of the roster: equal texts, compared code unit by code
// unit (case, spaces and all).
#pragma once

#include "RosterList.h"

#include <string>
#include <vector>

namespace vardolin::roster {

// Positions, in ascending order, of every entry that repeats an earlier one.
std::vector<int> LaterDuplicates(const std::vector<std::wstring>& texts);

// Removes the later copies of every text: the first occurrence keeps its
// position and the others keep their order.
void RemoveDuplicates(RosterList& roster);

}  // namespace vardolin::roster
