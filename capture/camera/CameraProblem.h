// Why the control shows no live picture, and the one line it shows instead.
#pragma once

#include "capture/camera/CameraTexts.h"

#include <windows.h>

namespace vardolin::capture {

// Starting: a camera was found and is being opened, or runs but has not sent
// its first frame yet. Silent: the only cameras there are run but send
// nothing; they are tried again.
enum class CameraProblem { None, Starting, NoCamera, InUse, AccessDenied, UnusableFormat, Lost, Silent };

inline const wchar_t* ProblemText(CameraProblem problem) {
    switch (problem) {
    case CameraProblem::None: return L"";
    case CameraProblem::Starting: return kCameraStartingText;
    case CameraProblem::NoCamera: return kNoCameraFoundText;
    case CameraProblem::InUse: return kCameraInUseText;
    case CameraProblem::AccessDenied: return kCameraAccessDeniedText;
    case CameraProblem::UnusableFormat: return kUnusableFormatText;
    case CameraProblem::Lost: return kCameraLostText;
    case CameraProblem::Silent: return kNoFrameYetText;
    }
    return L"";
}

// The problem a failed step of opening the device means: access refused (the
// system's camera privacy settings, or security software), a device that has
// gone, otherwise one held by another program.
inline CameraProblem ProblemOfRunFailure(HRESULT hr) {
    if (hr == E_ACCESSDENIED) return CameraProblem::AccessDenied;
    if (hr == HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
        return CameraProblem::NoCamera;
    return CameraProblem::InUse;
}

}  // namespace vardolin::capture
