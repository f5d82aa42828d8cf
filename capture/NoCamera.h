// The video-capture control used when no camera control is installed: it
// offers no driver dialog and cannot take a frame.
#pragma once

#include "capture/CameraControl.h"

namespace vardolin::capture {

std::unique_ptr<CameraControlWindow> CreateNoCamera(HWND parent, const RECT& bounds, int controlId);

// Its dispatch interface alone, for tests.
Microsoft::WRL::ComPtr<IDispatch> CreateNoCameraAutomation();

}  // namespace vardolin::capture
