// The simulated camera's two driver dialogs.
#pragma once

#include "camera/SimulatedCamera.h"

#include <optional>
#include <span>

namespace vardolin::capture {

inline constexpr const wchar_t* kFormatDialogTitle = L"视频格式";
inline constexpr const wchar_t* kSourceDialogTitle = L"视频调节";

namespace dialog_control {
inline constexpr WORD kResolutionList = 100;
inline constexpr WORD kBrightness = 101;
inline constexpr WORD kContrast = 102;
inline constexpr WORD kBrightnessValue = 103;
inline constexpr WORD kContrastValue = 104;
}  // namespace dialog_control

// The index of the chosen resolution; nothing when the user cancels.
std::optional<size_t> ChooseResolution(HWND owner, std::span<const Resolution> choices, size_t current);

struct PictureAdjustment {
    int brightness;
    int contrast;
};

// The chosen brightness and contrast; nothing when the user cancels.
std::optional<PictureAdjustment> ChooseAdjustment(HWND owner, PictureAdjustment current);

}  // namespace vardolin::capture
