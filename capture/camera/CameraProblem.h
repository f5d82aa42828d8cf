// Why the control shows no live picture, and the one line it shows instead.
#pragma once

#include <windows.h>

namespace vardolin::capture {

enum class CameraProblem { None, NoCamera, InUse, AccessDenied, UnusableFormat, Lost };

inline const wchar_t* ProblemText(CameraProblem problem) {
    switch (problem) {
    case CameraProblem::None: return L"";
    case CameraProblem::NoCamera: return L"未找到摄像头";
    case CameraProblem::InUse: return L"摄像头正被其他程序使用";
    case CameraProblem::AccessDenied: return L"系统的隐私设置不允许使用摄像头";
    case CameraProblem::UnusableFormat: return L"无法使用摄像头的视频格式";
    case CameraProblem::Lost: return L"摄像头已断开，重新连接后自动恢复";
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
