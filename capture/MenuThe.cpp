#include "MenuThe.h"

#include "ComponentError.h"

#include <array>

namespace vardolin::capture {
namespace {

constexpr std::array<MenuItemSpec, 6> kItems{{
    {MenuItem::Add, L"添加待摄像列表"},
    {MenuItem::Del, L"移除所选项目"},
    {MenuItem::clearall, L"清空列表"},
    {MenuItem::replace, L"剔除己存在图像项"},
    {MenuItem::totop, L"移到最前面"},
    {MenuItem::tolast, L"移到最后面"},
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

}  // namespace vardolin::capture
