// What the capture window says to the user: its captions and tooltips, the
// popup menu `the`, and the messages of taking and storing photos.
#pragma once

#include <string>

#include "win/ComponentError.h"

namespace vardolin::capture {

// The controls' captions and tooltips.
inline constexpr const wchar_t* kCmdOKCaption = L"关于";
inline constexpr const wchar_t* kCmdSourceDlgCaption = L"视频调节...";
inline constexpr const wchar_t* kCmdFormatDlgCaption = L"视频格式...";
inline constexpr const wchar_t* kLabel1Caption =
    L"    拍照后，移动左边小黑框以选定截取范围，然后点击裁剪，完成照片命名存储";
inline constexpr const wchar_t* kList1Tooltip = L"双击可删除选项,右击有编辑菜单,可拖曳列表项排序";
inline constexpr const wchar_t* kCommand1Caption = L"再裁剪";
// The keys of the photo loop, told on the two photo buttons.
inline constexpr const wchar_t* kCmdSaveDIBTooltip = L"名单有焦点时，按空格键拍照或重新照";
inline constexpr const wchar_t* kCommand1Tooltip =
    L"名单有焦点时，按回车键按小黑框现在的位置裁剪保存，然后轮到下一个名字；"
    L"照片上用方向键移动小黑框 1 像素，Shift+方向键移动 10 像素";
inline constexpr const wchar_t* kLabel2Caption = L"图片质量:";
inline constexpr const wchar_t* kCheck1Caption = L"顶端显示 ";
inline constexpr const wchar_t* kCheck1Tooltip = L"激活本功能后,窗体将在最顶端显示";
inline constexpr const wchar_t* kCheck2Caption = L"直接删除";
inline constexpr const wchar_t* kCheck2Tooltip = L"激活本功能后,双击列表框将直接删除选项";

// The quality label's text is this prefix followed by the quality.
inline constexpr const wchar_t* kQualityLabelPrefix = L"图片质量：";

// The take-photo button CmdSaveDIB: takes a still, or goes back to the preview.
inline constexpr const wchar_t* kTakePhotoCaption = L"先拍照";
inline constexpr const wchar_t* kRetakeCaption = L"重新照";

// The items of the popup menu `the`, in order.
inline constexpr const wchar_t* kAddCaption = L"添加待摄像列表";
inline constexpr const wchar_t* kDelCaption = L"移除所选项目";
inline constexpr const wchar_t* kClearallCaption = L"清空列表";
inline constexpr const wchar_t* kReplaceCaption = L"剔除己存在图像项";
inline constexpr const wchar_t* kTotopCaption = L"移到最前面";
inline constexpr const wchar_t* kTolastCaption = L"移到最后面";
inline constexpr const wchar_t* kOpenPhotoFolderCaption = L"打开照片文件夹";
inline constexpr const wchar_t* kChangePhotoFolderCaption = L"更改照片文件夹...";
inline constexpr const wchar_t* kClassSheetCaption = L"生成照片一览";

// Label1 after a still whose face does not fit in the crop frame.
inline constexpr const wchar_t* kStepBackText = L"人脸超出框，请后退再拍。";

// Drawn on a new still when the user asks for checks: its first problem.
inline constexpr const wchar_t* kBlurredStillText = L"照片可能模糊，请重拍";
inline constexpr const wchar_t* kTooDarkStillText = L"光线太暗";
inline constexpr const wchar_t* kTooBrightStillText = L"光线太亮";
inline constexpr const wchar_t* kNoFaceStillText = L"未检测到人脸";
inline constexpr const wchar_t* kTooFarStillText = L"离得太远，请靠近";

// The store button Command1.
inline constexpr const wchar_t* kReminderText = L"请右击列表框，选择添加要照像的对象";
inline constexpr const wchar_t* kReminderCaption = L"提醒";
inline constexpr const wchar_t* kStoreFailedCaption = L"保存失败";
inline constexpr const wchar_t* kNoCropText = L"请先拍照，并移动小黑框选定截取范围，再点击裁剪。";

inline std::wstring UnusablePhotoNameText(const std::wstring& entry) {
    return L"“" + entry +
           L"”不能用作照片的文件名（不能含有 \\ / : * ? \" < > | 等字符，不能是“..”或设备名）。照片没有保存。";
}

inline std::wstring TooLongPhotoNameText(const std::wstring& entry) {
    return L"“" + entry + L"”太长，不能用作照片的文件名（加上“.jpg”后不能超过 255 个字符）。照片没有保存。";
}

inline constexpr const wchar_t* kPhotoNotStoredText = L"照片没有保存。";

// The class sheet: a file not written, or written but not opened.
inline std::wstring ClassSheetNotWrittenText(const std::wstring& path, const std::wstring& why) {
    return L"照片一览没有保存到“" + path + L"”：" + vardolin::WithoutFullStop(why) + L"。";
}
inline std::wstring ClassSheetNotOpenedText(const std::wstring& path) { return L"照片一览已保存，但无法打开：" + path; }

inline std::wstring PhotoNotStoredText(const std::wstring& path, const std::wstring& why) {
    return L"照片没有保存到“" + path + L"”：" + vardolin::WithoutFullStop(why) + L"。";
}

// Why a photo was not stored, as PhotoNotStoredText says it.
inline constexpr const wchar_t* kFolderOfThatNameText = L"已有同名的文件夹";
inline constexpr const wchar_t* kFileExistsText = L"文件已存在";
inline constexpr const wchar_t* kFileNotReplaceableText = L"已有的同名文件是只读、隐藏或系统文件，不能替换";
inline constexpr const wchar_t* kOpenElsewhereText = L"照片文件正被其他程序打开，请关闭该程序后再试";
// A file Windows finds under the entry's name that is stored under another
// name (another case, or the entry matched its short name): another
// person's photo.
inline std::wstring OtherPersonsFileText(const std::wstring& stored) {
    return L"文件夹中已有“" + stored +
           L"”，Windows "
           L"把它与这个名字视为同一个文件（文件名不区分大小写），它可能是另一个人的照片，请在名单中把名字加以区分";
}
// The photo folder takes no new files: the folder, the system's reason and
// what to do.
inline std::wstring PhotoFolderNotWritableText(const std::wstring& folder, const std::wstring& why) {
    return L"照片没有保存，因为无法在照片文件夹“" + folder + L"”中写入文件：" + vardolin::WithoutFullStop(why) +
           L"。请确认该文件夹可以访问、您有写入权限，或右击列表框，选择“更改照片文件夹...”另选文件夹。";
}
inline constexpr const wchar_t* kNothingToStoreText = L"没有可保存的图像";
inline constexpr const wchar_t* kImageUnreadableText = L"无法读取要保存的图像";
inline constexpr const wchar_t* kDiskFullText = L"磁盘已满";
inline constexpr const wchar_t* kNoWritePermissionText = L"没有写入权限";
inline constexpr const wchar_t* kFileNotWritableText = L"无法创建或写入文件";
inline constexpr const wchar_t* kFolderNotFoundText = L"找不到文件夹";
inline constexpr const wchar_t* kOutOfMemoryText = L"内存不足";
inline constexpr const wchar_t* kUnknownErrorText = L"未知错误";

inline std::wstring TemporaryFileNotCreatedText(const std::wstring& folder) {
    return L"无法在文件夹“" + folder + L"”中创建临时文件";
}

// An error's description followed by its number.
inline std::wstring NumberedErrorText(const std::wstring& description, long number) {
    return description + L"（错误 " + std::to_wstring(number) + L"）";
}

}  // namespace vardolin::capture
