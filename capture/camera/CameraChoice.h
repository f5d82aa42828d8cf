// Which camera the capture window's control uses: the simulated one when the
// per-user value HKCU\Software\Vardolin\Camera reads "simulated", otherwise
// the first DirectShow video input device, otherwise none.
#pragma once

#include "CameraControl.h"

#include <windows.h>

#include <string>

namespace vardolin::capture {

inline constexpr const wchar_t* kCameraSettingKey = L"Software\\Vardolin";
inline constexpr const wchar_t* kCameraSettingValue = L"Camera";
inline constexpr const wchar_t* kSimulatedCamera = L"simulated";

// True when the value under root\subKey asks for the simulated camera
// (compared without regard to case).
bool SimulatedCameraChosen(HKEY root = HKEY_CURRENT_USER, const wchar_t* subKey = kCameraSettingKey);

// The factory the capture window installs: a control over the chosen camera,
// or the control that finds no camera.
std::unique_ptr<CameraControlWindow> CreateChosenCameraControl(HWND parent, const RECT& bounds, int controlId);

}  // namespace vardolin::capture
