#include "camera/CameraChoice.h"

#include "camera/DirectShowCamera.h"
#include "camera/VideoCaptureControl.h"

namespace vardolin::capture {

std::unique_ptr<CameraControlWindow> CreateChosenCameraControl(HWND parent, const RECT& bounds, int controlId) {
    return CreateVideoCaptureControl(parent, bounds, controlId, CreateDirectShowCamera());
}

}  // namespace vardolin::capture
