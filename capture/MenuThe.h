// The popup menu `the` of the roster list: six editing items, two for the
// photo folder (open it, choose another) and the class sheet, opened only as
// a popup.
#pragma once

#include "win/Win32Handles.h"

#include <optional>
#include <span>

namespace vardolin::capture {

enum class MenuItem : UINT {
    Add = 2001,
    Del,
    clearall,
    replace,
    totop,
    tolast,
    OpenPhotoFolder,
    ChangePhotoFolder,
    ClassSheet,
};

struct MenuItemSpec {
    MenuItem item;
    const wchar_t* caption;
};

std::span<const MenuItemSpec> MenuTheItems() noexcept;

// The item a menu command id stands for.
std::optional<MenuItem> MenuItemOf(UINT commandId) noexcept;

// A popup menu holding the items in order, all enabled.
UniqueMenu CreateMenuThe();

// Greys the item that changes the photo folder while IT's policy sets the
// folder; the menu is brought up to date each time it opens.
void UpdateMenuThe(HMENU menu) noexcept;

}  // namespace vardolin::capture
