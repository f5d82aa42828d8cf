// Whether the crop frame goes onto the face found in each new still: the
// user's choice in the source dialog, kept per user beside the camera choice.
#pragma once

namespace vardolin::capture {

// HKCU\Software\Vardolin, REG_DWORD 0 or 1.
inline constexpr const wchar_t* kAutoFrameValue = L"AutoFrame";

// Off until the user turns it on.
bool AutoFrameEnabled();
void RememberAutoFrame(bool on);

}  // namespace vardolin::capture
