// 生成照片一览: writes the class sheet of the roster (照片一览.html and
// 照片清单.csv) into the photo folder from one listing of it, then opens the
// page. The folder work runs away from the window; the window is off the top
// while a message is up.
#pragma once

#include "roster/RosterList.h"
#include "win/Environment.h"
#include "win/TopmostWindow.h"

namespace vardolin::capture {

inline constexpr const wchar_t* kClassSheetPageName = L"照片一览.html";
inline constexpr const wchar_t* kClassSheetListName = L"照片清单.csv";

void MakeClassSheet(roster::RosterList roster, TopmostWindow& window, const Environment& environment) noexcept;

}  // namespace vardolin::capture
