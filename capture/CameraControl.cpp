#include "capture/CameraControl.h"

#include "automation/LateBinding.h"
#include "capture/camera/DirectShowCamera.h"
#include "capture/camera/VideoCaptureControl.h"

namespace vardolin::capture {

std::unique_ptr<CameraControlWindow> CreateChosenCameraControl(HWND parent, const RECT& bounds, int controlId) {
    return CreateVideoCaptureControl(parent, bounds, controlId, CreateDirectShowCamera());
}

std::unique_ptr<CameraControlWindow> CreateCameraControl(const CameraControlFactory& factory, HWND parent,
                                                         const RECT& bounds, int controlId) {
    if (factory) return factory(parent, bounds, controlId);
    return CreateChosenCameraControl(parent, bounds, controlId);
}

namespace lb = late_binding;

bool CameraAutomation::FormatDialogAvailable() {
    return ToBool(lb::Invoke(control_.Get(), camera_dispid::kFormatDialogAvailable, DISPATCH_PROPERTYGET).get());
}

bool CameraAutomation::SourceDialogAvailable() {
    return ToBool(lb::Invoke(control_.Get(), camera_dispid::kSourceDialogAvailable, DISPATCH_PROPERTYGET).get());
}

void CameraAutomation::ShowFormatDialog() {
    lb::Invoke(control_.Get(), camera_dispid::kShowFormatDialog, DISPATCH_METHOD);
}

void CameraAutomation::ShowSourceDialog() {
    lb::Invoke(control_.Get(), camera_dispid::kShowSourceDialog, DISPATCH_METHOD);
}

void CameraAutomation::SaveFrameBitmap(const std::wstring& path) {
    lb::Invoke(control_.Get(), camera_dispid::kSaveFrameBitmap, DISPATCH_METHOD, {Variant(path)});
}

}  // namespace vardolin::capture
