// What the roster says to the user: its questions, prompts and notices.
#pragma once

#include <string>

#include "win/ComponentError.h"

namespace vardolin::roster {

// Asked before an entry is removed; the entry's text follows.
inline constexpr const wchar_t* kConfirmRemovalText = L"是否移除   ";
inline constexpr const wchar_t* kConfirmRemovalTitle = L"请确认删除";

// The host's range box of the import.
inline constexpr const wchar_t* kAddPrompt =
    L"把选择名字将出现在待摄影列表，请务必选择正确\r\n跨表读取请先激活该工作表，再运行本命令";
inline constexpr const wchar_t* kAddTitle = L"选择待摄影人员名单";

// Shown when cells were left out because the roster was full.
inline constexpr const wchar_t* kRosterFullText = L"待摄影列表最多只能容纳 32767 项，其余单元格未添加。";
inline constexpr const wchar_t* kRosterFullTitle = L"提醒";

// Shown when the host kept refusing the import's calls (a cell being edited,
// one of its dialogs open); nothing was imported.
inline constexpr const wchar_t* kHostBusyText =
    L"表格正忙（可能正在编辑单元格或有对话框未关闭），请结束编辑或关闭对话框后再试。";

// Shown when the picked range could not be found on the active sheet (the
// host refuses an address of many separate areas, for one); nothing was
// imported.
inline constexpr const wchar_t* kRangeNotFoundText =
    L"无法在当前工作表中找到所选的单元格区域，未添加任何名字。请先激活名单所在的工作表，再选择一个连续的区域。";

// Shown when the photo folder could not be opened; its path follows.
inline constexpr const wchar_t* kPhotoFolderNotOpenedText = L"无法打开照片文件夹，照片存放在：";
inline constexpr const wchar_t* kPhotoFolderTitle = L"照片文件夹";

// A folder that takes no new files, and why; the still's folder as well as
// the photo folder.
inline std::wstring UnwritableFolderText(const std::wstring& folder, const std::wstring& why) {
    return L"无法在文件夹“" + folder + L"”中写入文件：" + vardolin::WithoutFullStop(why) + L"。";
}

// What to do when the photo folder takes no photos.
inline constexpr const wchar_t* kPhotoFolderAdvice =
    L"请确认该文件夹可以访问、您有写入权限，或右击列表框，选择“更改照片文件夹...”另选文件夹。";

// Shown when the capture window opens and the photo folder cannot be reached.
inline std::wstring UnreachableFolderText(const std::wstring& folder, const std::wstring& why) {
    return L"无法访问照片文件夹“" + folder + L"”：" + vardolin::WithoutFullStop(why) +
           L"。在它可以访问之前，照片无法保存。" + kPhotoFolderAdvice;
}

// The folder of the component's own library file could not be found, so
// neither could the photo folder beside it.
inline constexpr const wchar_t* kLibraryFolderUnknownText = L"找不到 Vardolin 所在的文件夹，无法确定照片文件夹。";

// A photo folder set in the registry that is not a full path.
inline std::wstring PartialFolderText(const std::wstring& folder) {
    return L"照片文件夹的设置“" + folder + L"”不是完整的路径（应以盘符或 \\\\服务器\\共享名 开头）。";
}

// Shown after an import that kept names differing only in case: Windows
// stores their photos under one file name.
inline std::wstring CaseOnlyNamesText(const std::wstring& names) {
    return L"待摄影列表中有只是大小写不同的名字：" + names +
           L"。照片文件名不区分大小写，这些人的照片不能同时保存，请在表格中把名字加以区分。";
}

}  // namespace vardolin::roster
