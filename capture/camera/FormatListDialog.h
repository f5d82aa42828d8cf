// Our own list of a camera's formats, for cameras whose capture pin has no
// format page of its own: each format as its size and pixel format.
#pragma once

#include "capture/camera/FormatChoice.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string>

namespace vardolin::capture {

namespace format_list_control {
inline constexpr WORD kFormatList = 300;
}  // namespace format_list_control

// Modal dialog titled kFormatPagesTitle listing each format as
// "640 x 480  YUY2", the current one selected. The index chosen with OK (or
// by double-clicking an entry); nothing on Cancel, when nothing was selected,
// or when there are no formats to list.
std::optional<size_t> ChooseFormat(HWND owner, std::span<const OfferedFormat> formats, std::optional<size_t> current);

// The entry of a format in that list.
std::wstring FormatListText(const OfferedFormat& format);

// The name of a media subtype's pixel format: RGB24, RGB32, RGB565, RGB555,
// else its FourCC (YUY2, NV12, MJPG...), else the subtype's GUID.
std::wstring SubtypeName(const GUID& subtype);

}  // namespace vardolin::capture
