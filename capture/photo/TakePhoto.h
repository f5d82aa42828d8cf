// The take-photo button: takes a still from the camera into the still-photo
// box, or goes back to the live preview.
#pragma once

#include <filesystem>

namespace vardolin::capture {

class GetPIC;

inline constexpr const wchar_t* kTakePhotoCaption = L"先拍照";
inline constexpr const wchar_t* kRetakeCaption = L"重新照";

// LibraryFolder()\TmpPhoto.bmp: where the camera writes the still.
std::filesystem::path TemporaryPhotoPath();

// Errors are raised to the caller (the window reports them).
void CmdSaveDIB_Click(GetPIC& window);

}  // namespace vardolin::capture
