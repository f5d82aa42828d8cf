#include "capture/MenuThe.h"

#include "win/ComponentError.h"
#include "capture/GetPICTexts.h"
#include "win/Settings.h"

#include <array>

namespace vardolin::capture {
namespace {

constexpr std::array<MenuItemSpec, 9> kItems{{
    {MenuItem::Add, kAddCaption},
    {MenuItem::Del, kDelCaption},
    {MenuItem::clearall, kClearallCaption},
    {MenuItem::replace, kReplaceCaption},
    {MenuItem::totop, kTotopCaption},
    {MenuItem::tolast, kTolastCaption},
    {MenuItem::OpenPhotoFolder, kOpenPhotoFolderCaption},
    {MenuItem::ChangePhotoFolder, kChangePhotoFolderCaption},
    {MenuItem::ClassSheet, kClassSheetCaption},
}};

}  // namespace

std::span<const MenuItemSpec> MenuTheItems() noexcept { return kItems; }

std::optional<MenuItem> MenuItemOf(UINT commandId) noexcept {
    for (const MenuItemSpec& entry : kItems)
        if (static_cast<UINT>(entry.item) == commandId) return entry.item;
    return std::nullopt;
}

UniqueMenu CreateMenuThe() {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    for (const MenuItemSpec& entry : kItems)
        if (!AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(entry.item), entry.caption))
            ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    return menu;
}

void UpdateMenuThe(HMENU menu) noexcept {
    bool byPolicy = false;
    try {
        byPolicy = PhotoFolderSetByPolicy();
    } catch (...) {}
    EnableMenuItem(menu, static_cast<UINT>(MenuItem::ChangePhotoFolder),
                   MF_BYCOMMAND | (byPolicy ? MF_GRAYED : MF_ENABLED));
}

}  // namespace vardolin::capture
