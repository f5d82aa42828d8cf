// Why the control shows no live picture, and the one line it shows instead.
#pragma once

#include "camera/CameraTexts.h"

#include <windows.h>

namespace vardolin::capture {

enum class CameraProblem { None, NoCamera, InUse, AccessDenied, UnusableFormat, Lost };

inline const wchar_t* ProblemText(CameraProblem problem) {
    switch (problem) {
    case CameraProblem::None: return L"";
    case CameraProblem::NoCamera: return kNoCameraFoundText;
    case CameraProblem::InUse: return kCameraInUseText;
    case CameraProblem::AccessDenied: return kCameraAccessDeniedText;
    case CameraProblem::UnusableFormat: return kUnusableFormatText;
    case CameraProblem::Lost: return kCameraLostText;
    }
    return L"";
}

// The problem a failed start of the device means: access refused by the
// system, a device that has gone, otherwise one held by another program.
inline CameraProblem ProblemOfRunFailure(HRESULT hr) {
    if (hr == E_ACCESSDENIED) return CameraProblem::AccessDenied;
    if (hr == HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
        return CameraProblem::NoCamera;
    return CameraProblem::InUse;
}

}  // namespace vardolin::capture
