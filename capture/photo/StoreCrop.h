// The store button: writes the crop preview as the photo of the first person
// on the roster, who then leaves the roster.
#pragma once

#include <string>

namespace vardolin::capture {

class GetPIC;

inline constexpr const wchar_t* kReminderText = L"请右击列表框，选择添加要照像的对象";
inline constexpr const wchar_t* kReminderCaption = L"提醒";
inline constexpr const wchar_t* kStoreFailedCaption = L"保存失败";
inline constexpr const wchar_t* kNoCropText = L"请先拍照，并移动小黑框选定截取范围，再点击裁剪。";

// The quality the encoder gets: the current quality held within 30..100 (in
// memory only, never stored in the settings).
void ClampJpegQuality(GetPIC& window);

void Command1_Click(GetPIC& window) noexcept;

}  // namespace vardolin::capture
