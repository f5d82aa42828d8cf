// The source dialog: which camera to use, a way to each camera's own
// settings pages and to the system's camera privacy settings, whether the
// crop frame goes onto the face in each new still, whether each new still is
// checked, and whether a photo is taken by itself when a face holds still.
#pragma once

#include "capture/camera/CameraTexts.h"

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
inline constexpr WORD kPrivacySettings = 203;
inline constexpr WORD kPhotoSize = 204;  // 204, 205, 206: photos of 1, 2, 3 times 156 x 188
inline constexpr WORD kPhotoSizeNote = 207;
inline constexpr WORD kPhotoChecks = 208;
inline constexpr WORD kHandsFree = 209;
}  // namespace chooser_control

// Where Windows lets the user allow or block the camera for applications;
// opened with the environment's web page opener.
inline constexpr const wchar_t* kCameraPrivacyPage = L"ms-settings:privacy-webcam";

struct SourceChoice {
    size_t camera;  // index into the names shown
    bool autoFrame;
    int photoScale = 1;        // the stored photo is this many times 156 x 188
    bool photoChecks = false;  // each new still is checked and its problem shown
    bool handsFree = false;    // a photo taken by itself when a face holds still
};

// What a camera can give photos: the largest scale with real detail, and its
// largest picture.
struct CameraDetail {
    int scale = 3;
    int width = 0;
    int height = 0;
};

// What the user chose, starting from current (the first camera when current
// is not one of them); nothing when the user cancels or there is no camera.
// The settings button is enabled while hasSettings holds for the camera
// selected in the list; showSettings opens that camera's pages. The photo
// sizes beyond what detailOf says the selected camera gives are shown
// unavailable, with its largest picture (all are offered without detailOf).
std::optional<SourceChoice> ChooseSource(HWND owner, std::span<const std::wstring> names, SourceChoice current,
                                         const std::function<bool(size_t index)>& hasSettings,
                                         const std::function<void(HWND dialog, size_t index)>& showSettings,
                                         const std::function<CameraDetail(size_t index)>& detailOf = {});

}  // namespace vardolin::capture
