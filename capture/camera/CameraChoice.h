// The camera control the capture window installs: our video-capture control
// over the system's webcams, which says so in the preview when there is none.
#pragma once

#include "CameraControl.h"

#include <windows.h>

namespace vardolin::capture {

std::unique_ptr<CameraControlWindow> CreateChosenCameraControl(HWND parent, const RECT& bounds, int controlId);

}  // namespace vardolin::capture
