// The source dialog: which camera to use, a way to each camera's own
// settings pages, and whether the crop frame goes onto the face in each new
// still.
#pragma once

#include "camera/CameraTexts.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vardolin::capture {

namespace chooser_control {
inline constexpr WORD kCameraList = 200;
inline constexpr WORD kCameraSettings = 201;
inline constexpr WORD kAutoFrame = 202;
}  // namespace chooser_control

struct SourceChoice {
    size_t camera;  // index into the names shown
    bool autoFrame;
};

// What the user chose, starting from current; nothing when the user cancels.
// showSettings opens the pages of the camera selected in the list.
std::optional<SourceChoice> ChooseSource(HWND owner, std::span<const std::wstring> names, SourceChoice current,
                                         const std::function<void(HWND dialog, size_t index)>& showSettings);

}  // namespace vardolin::capture
