// The photo options of the source dialog, kept per user beside the camera
// choice: whether the crop frame goes onto the face found in each new still,
// and the size of the stored photos.
#pragma once

namespace vardolin::capture {

// HKCU\Software\Vardolin, REG_DWORD 0 or 1.
inline constexpr const wchar_t* kAutoFrameValue = L"AutoFrame";
// HKCU\Software\Vardolin, REG_DWORD 1, 2 or 3: photos of 156 x 188 times that.
inline constexpr const wchar_t* kPhotoScaleValue = L"PhotoScale";
inline constexpr int kLargestPhotoScale = 3;

// Off until the user turns it on.
bool AutoFrameEnabled();
void RememberAutoFrame(bool on);

// 1 (the designed size) until the user chooses another; a stored value out
// of range counts as 1.
int PhotoScale();
void RememberPhotoScale(int scale);

}  // namespace vardolin::capture
