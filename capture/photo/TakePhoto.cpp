#include "capture/photo/TakePhoto.h"

#include "win/ComponentError.h"
#include "capture/GetPICTexts.h"
#include "roster/PhotoFiles.h"
#include "roster/RosterTexts.h"
#include "capture/photo/FaceFraming.h"
#include "capture/photo/StillCheck.h"

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

void TakePhoto(const PhotoParts& photo) {
    CameraControlWindow* camera = photo.camera;
    if (!camera) throw ComponentError::ObjectRequired();
    std::filesystem::path still = TemporaryPhotoPath();
    CreateDirectoryW(still.parent_path().c_str(), nullptr);
    if (DWORD error = roster::FolderWriteError(still.parent_path()))
        throw ComponentErrorFromWide(error_number::kPathFileAccess,
                                     roster::UnwritableFolderText(still.parent_path().wstring(), SystemMessage(error)));
    CameraAutomation(camera->Automation()).SaveFrameBitmap(still.wstring());
    UniqueBitmap picture = LoadBitmapFile(still);
    if (!picture) throw ComponentError(kInvalidPicture, "Invalid picture");
    photo.session.detail = camera->StillDetail();
    photo.still.SetPicture(std::move(picture));
    ShowWindow(photo.still.Window(), SW_SHOW);
    EnableWindow(photo.storeButton, TRUE);
    SetWindowTextW(photo.takeButton, kRetakeCaption);
    FrameFaceInNewStill(photo);
    CheckNewStill(photo);
}

void BackToLivePreview(const PhotoParts& photo) {
    photo.still.SetWarning(L"");
    SetWindowTextW(photo.takeButton, kTakePhotoCaption);
    EnableWindow(photo.storeButton, FALSE);
    ShowWindow(photo.still.Window(), SW_HIDE);
    // A camera lost while the still was shown gives nothing to take.
    CameraControlWindow* camera = photo.camera;
    if (camera && !camera->Problem().empty()) EnableWindow(photo.takeButton, FALSE);
}

}  // namespace

std::filesystem::path TemporaryPhotoPath() {
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    folder.resize(length <= folder.size() ? length : 0);
    // TEMP and TMP are the user's to set: never a path relative to wherever
    // the host happens to be.
    if (folder.empty() || !std::filesystem::path(folder).is_absolute())
        throw ComponentError(error_number::kPathNotFound, messages::kPathNotFound);
    return std::filesystem::path(folder) / L"Vardolin" / kStillFileName;
}

void TakeOrRetakePhoto(const PhotoParts& photo) {
    if (OffersNewPhoto(photo.takeButton)) TakePhoto(photo);
    else BackToLivePreview(photo);
}

bool OffersNewPhoto(HWND takeButton) { return CaptionOf(takeButton) == kTakePhotoCaption; }

}  // namespace vardolin::capture
