// What the About window says: its caption (never drawn, it has no title bar)
// and the close mark's tooltip.
#pragma once

namespace vardolin::about {

inline constexpr const wchar_t* kCaption = L"Form1";
inline constexpr const wchar_t* kCloseTooltip = L"关闭";

}  // namespace vardolin::about
