// The take-photo button: takes a still from the camera into the still-photo
// box, or goes back to the live preview.
#pragma once

#include "capture/photo/PhotoParts.h"

#include <filesystem>

namespace vardolin::capture {

// The still's file name; the crop preview is kept under it too when stored.
inline constexpr const wchar_t* kStillFileName = L"TmpPhoto.bmp";

// %TEMP%\Vardolin\TmpPhoto.bmp: where the camera writes the still. Each user
// has a temporary folder of their own; the DLL's folder may be read-only
// (Program Files), and on a folder several accounts share the file would
// belong to whoever made it first.
std::filesystem::path TemporaryPhotoPath();

// Errors are raised to the caller (the window reports them).
void TakeOrRetakePhoto(const PhotoParts& photo);

// Whether the take button offers a new photo (no still is shown).
bool OffersNewPhoto(HWND takeButton);

}  // namespace vardolin::capture
