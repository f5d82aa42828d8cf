// What the video-capture control and its dialogs say to the user: the one
// line shown instead of a live picture, the errors of taking a frame, and the
// dialogs' labels.
#pragma once

#include "autoframe/FramePlacement.h"

#include <string>

namespace vardolin::capture {

// Instead of the live picture.
inline constexpr const wchar_t* kCameraStartingText = L"正在打开摄像头…";
inline constexpr const wchar_t* kNoCameraFoundText = L"未找到摄像头";
inline constexpr const wchar_t* kCameraInUseText = L"摄像头正被其他程序使用";
inline constexpr const wchar_t* kCameraAccessDeniedText = L"摄像头被系统隐私设置或安全软件阻止";
inline constexpr const wchar_t* kUnusableFormatText = L"无法使用摄像头的视频格式";
inline constexpr const wchar_t* kCameraLostText = L"摄像头已断开，重新连接后自动恢复";

// Errors of SaveFrameBitmap.
inline constexpr const wchar_t* kNoFrameYetText = L"摄像头还没有送来画面";
inline constexpr const wchar_t* kNoCameraAvailableText = L"没有可用的摄像头";
inline constexpr const wchar_t* kCannotWriteFileBefore = L"无法写入文件“";  // then the file
inline constexpr const wchar_t* kCannotWriteFileAfter = L"”：";             // then the system's reason

// The camera's format pages (or our own format list) and the source dialog.
inline constexpr const wchar_t* kFormatPagesTitle = L"视频格式";
inline constexpr const wchar_t* kSourceDialogTitle = L"视频调节";
inline constexpr const wchar_t* kCameraLabel = L"摄像头：";
inline constexpr const wchar_t* kCameraSettingsCaption = L"摄像头设置...";
inline constexpr const wchar_t* kAutoFrameCaption = L"拍照后自动框选人脸";
inline constexpr const wchar_t* kPhotoChecksCaption = L"拍照后检查照片";
inline constexpr const wchar_t* kHandsFreeCaption = L"人脸稳定时自动拍照";
inline constexpr const wchar_t* kPrivacySettingsCaption = L"隐私设置...";
inline constexpr const wchar_t* kFormatListLabel = L"格式：";
inline constexpr const wchar_t* kPhotoSizeLabel = L"照片尺寸";

// A photo size choice: the designed photo size ("156 x 188") times scale.
inline std::wstring PhotoSizeText(int scale) {
    return std::to_wstring(autoframe::kCropFrameSize.width * scale) + L" x " +
           std::to_wstring(autoframe::kCropFrameSize.height * scale);
}
// Under the photo sizes when the camera has too little detail for the larger ones.
inline std::wstring LargestPictureText(int width, int height) {
    if (width <= 0 || height <= 0) return L"此摄像头无法提供更大的照片";
    return L"此摄像头最大 " + std::to_wstring(width) + L" x " + std::to_wstring(height) + L"，无法提供更大的照片";
}

}  // namespace vardolin::capture
