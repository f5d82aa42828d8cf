// The take-photo button: takes a still from the camera into the still-photo
// box, or goes back to the live preview.
#pragma once

#include "capture/photo/PhotoParts.h"

#include <filesystem>

namespace vardolin::capture {

// LibraryFolder()\TmpPhoto.bmp: where the camera writes the still.
std::filesystem::path TemporaryPhotoPath();

// Errors are raised to the caller (the window reports them).
void TakeOrRetakePhoto(const PhotoParts& photo);

// Whether the take button offers a new photo (no still is shown).
bool OffersNewPhoto(HWND takeButton);

}  // namespace vardolin::capture
