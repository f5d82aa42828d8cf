#include "camera/CameraChoice.h"

#include "NoCamera.h"
#include "camera/DirectShowCamera.h"
#include "camera/SimulatedCamera.h"
#include "camera/VideoCaptureControl.h"

#include <cwchar>

namespace vardolin::capture {

bool SimulatedCameraChosen(HKEY root, const wchar_t* subKey) {
    wchar_t value[32] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(root, subKey, kCameraSettingValue, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return false;
    return _wcsicmp(value, kSimulatedCamera) == 0;
}

std::unique_ptr<CameraControlWindow> CreateChosenCameraControl(HWND parent, const RECT& bounds, int controlId) {
    std::shared_ptr<VideoSource> source;
    if (SimulatedCameraChosen()) source = std::make_shared<SimulatedCamera>();
    else source = OpenFirstVideoInputDevice();
    if (!source) return CreateNoCamera(parent, bounds, controlId);
    return CreateVideoCaptureControl(parent, bounds, controlId, std::move(source));
}

}  // namespace vardolin::capture
