// What the capture window says to the user: button captions that change,
// and the messages of taking and storing photos.
#pragma once

#include <string>

namespace vardolin::capture {

// The take-photo button CmdSaveDIB: takes a still, or goes back to the preview.
inline constexpr const wchar_t* kTakePhotoCaption = L"先拍照";
inline constexpr const wchar_t* kRetakeCaption = L"重新照";

// The store button Command1.
inline constexpr const wchar_t* kReminderText = L"请右击列表框，选择添加要照像的对象";
inline constexpr const wchar_t* kReminderCaption = L"提醒";
inline constexpr const wchar_t* kStoreFailedCaption = L"保存失败";
inline constexpr const wchar_t* kNoCropText = L"请先拍照，并移动小黑框选定截取范围，再点击裁剪。";

inline std::wstring UnusablePhotoNameText(const std::wstring& entry) {
    return L"“" + entry + L"”不能用作照片的文件名（不能含有 \\ / : * ? \" < > | 等字符，不能是“..”或设备名）。照片没有保存。";
}

inline std::wstring PhotoNotStoredText(const std::wstring& path, const std::wstring& why) {
    return L"照片没有保存到“" + path + L"”：" + why + L"。";
}

}  // namespace vardolin::capture
