#include "photo/TakePhoto.h"

#include "ComponentError.h"
#include "GetPIC.h"
#include "PhotoFiles.h"

#include <string>

namespace vardolin::capture {
namespace {

constexpr long kInvalidPicture = 481;

std::wstring CaptionOf(HWND button) {
    std::wstring text(GetWindowTextLengthW(button) + 1, L'\0');
    text.resize(GetWindowTextW(button, text.data(), static_cast<int>(text.size())));
    return text;
}

UniqueBitmap LoadBitmapFile(const std::filesystem::path& path) {
    return UniqueBitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

void TakePhoto(GetPIC& window) {
    CameraControlWindow* camera = window.Camera();
    if (!camera) throw ComponentError(error_number::kObjectRequired, L"Object required");
    std::filesystem::path still = TemporaryPhotoPath();
    if (std::wstring notice = UnwritableFolderNotice(still.parent_path()); !notice.empty())
        throw ComponentError(error_number::kPathFileAccess, notice);
    CameraAutomation(camera->Automation()).SaveFrameBitmap(still.wstring());
    UniqueBitmap picture = LoadBitmapFile(still);
    if (!picture) throw ComponentError(kInvalidPicture, L"Invalid picture");
    window.Picture1()->SetPicture(std::move(picture));
    ShowWindow(window.Control(ControlId::Picture1), SW_SHOW);
    EnableWindow(window.Control(ControlId::Command1), TRUE);
    SetWindowTextW(window.Control(ControlId::CmdSaveDIB), kRetakeCaption);
}

void BackToLivePreview(GetPIC& window) {
    SetWindowTextW(window.Control(ControlId::CmdSaveDIB), kTakePhotoCaption);
    EnableWindow(window.Control(ControlId::Command1), FALSE);
    ShowWindow(window.Control(ControlId::Picture1), SW_HIDE);
    // A camera lost while the still was shown gives nothing to take.
    CameraControlWindow* camera = window.Camera();
    if (camera && !camera->Problem().empty()) EnableWindow(window.Control(ControlId::CmdSaveDIB), FALSE);
}

}  // namespace

std::filesystem::path TemporaryPhotoPath() { return LibraryFolder() / L"TmpPhoto.bmp"; }

void CmdSaveDIB_Click(GetPIC& window) {
    if (!window.IsLoaded() || !window.Picture1()) throw ComponentError(error_number::kObjectRequired, L"Object required");
    if (CaptionOf(window.Control(ControlId::CmdSaveDIB)) == kTakePhotoCaption) TakePhoto(window);
    else BackToLivePreview(window);
}

}  // namespace vardolin::capture
