// The source dialog when there are several cameras: which one to use, and a
// way to each camera's own settings pages.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vardolin::capture {

inline constexpr const wchar_t* kSourceDialogTitle = L"视频调节";

namespace chooser_control {
inline constexpr WORD kCameraList = 200;
inline constexpr WORD kCameraSettings = 201;
}  // namespace chooser_control

// The index of the chosen camera; nothing when the user cancels.
// showSettings opens the pages of the camera selected in the list.
std::optional<size_t> ChooseCamera(HWND owner, std::span<const std::wstring> names, size_t current,
                                   const std::function<void(HWND dialog, size_t index)>& showSettings);

}  // namespace vardolin::capture
