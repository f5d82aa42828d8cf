// What the video-capture control and its dialogs say to the user: the one
// line shown instead of a live picture, the errors of taking a frame, and the
// source dialog's labels.
#pragma once

namespace vardolin::capture {

// Instead of the live picture.
inline constexpr const wchar_t* kNoCameraFoundText = L"未找到摄像头";
inline constexpr const wchar_t* kCameraInUseText = L"摄像头正被其他程序使用";
inline constexpr const wchar_t* kCameraAccessDeniedText = L"系统的隐私设置不允许使用摄像头";
inline constexpr const wchar_t* kUnusableFormatText = L"无法使用摄像头的视频格式";
inline constexpr const wchar_t* kCameraLostText = L"摄像头已断开，重新连接后自动恢复";

// Errors of SaveFrameBitmap.
inline constexpr const wchar_t* kNoFrameYetText = L"摄像头还没有送来画面";
inline constexpr const wchar_t* kNoCameraAvailableText = L"没有可用的摄像头";
inline constexpr const wchar_t* kCannotWriteFileBefore = L"无法写入文件“";  // then the file
inline constexpr const wchar_t* kCannotWriteFileAfter = L"”：";            // then the system's reason

// The camera's format pages and the source dialog.
inline constexpr const wchar_t* kFormatPagesTitle = L"视频格式";
inline constexpr const wchar_t* kSourceDialogTitle = L"视频调节";
inline constexpr const wchar_t* kCameraLabel = L"摄像头：";
inline constexpr const wchar_t* kCameraSettingsCaption = L"摄像头设置...";
inline constexpr const wchar_t* kAutoFrameCaption = L"拍照后自动框选人脸";

}  // namespace vardolin::capture
