// The video-capture control as the capture window sees it: a child window in
// the preview rectangle, driven through its dispatch interface by dispatch id.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/camera/FaceLook.h"

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>

namespace vardolin::capture {

namespace camera_dispid {
inline constexpr DISPID kSourceDialogAvailable = 0x68030000;
inline constexpr DISPID kFormatDialogAvailable = 0x68030001;
inline constexpr DISPID kShowFormatDialog = 0x60030029;
inline constexpr DISPID kShowSourceDialog = 0x6003002A;
inline constexpr DISPID kSaveFrameBitmap = 0x60030030;
}  // namespace camera_dispid

// Notifications the control sends its parent (WM_COMMAND, as child controls
// do) when its live picture stops or comes back.
namespace camera_notification {
inline constexpr WORD kLive = 1;
inline constexpr WORD kStopped = 2;
}  // namespace camera_notification

// One instance of the control, living as long as the window that holds it.
class CameraControlWindow {
public:
    virtual ~CameraControlWindow() = default;
    virtual HWND Window() const noexcept = 0;
    // A new reference to the control's dispatch interface.
    virtual Microsoft::WRL::ComPtr<IDispatch> Automation() = 0;
    // One line saying why there is no live picture; empty while there is one.
    virtual std::wstring Problem() const { return {}; }
    // The last still's 4:3 picture at the camera's full detail, when photos
    // larger than the designed size are wanted; null otherwise.
    virtual std::shared_ptr<const BitmapPixels> StillDetail() const { return nullptr; }
    // Hands-free capture: faces looked for in the live preview or not, the
    // latest look, and the countdown number drawn over the preview (0: none).
    virtual void LookForFaces(bool) {}
    virtual FaceLook Faces() const { return {}; }
    virtual void ShowCountdown(int) {}
};

// Makes a camera control in the given rectangle of the parent window.
using CameraControlFactory =
    std::function<std::unique_ptr<CameraControlWindow>(HWND parent, const RECT& bounds, int controlId)>;

// Our video-capture control over the system's webcams, which says so in the
// preview when there is none.
std::unique_ptr<CameraControlWindow> CreateChosenCameraControl(HWND parent, const RECT& bounds, int controlId);

// The factory's camera control, or without one CreateChosenCameraControl's.
std::unique_ptr<CameraControlWindow> CreateCameraControl(const CameraControlFactory& factory, HWND parent,
                                                         const RECT& bounds, int controlId);

// The five members of the control, called by dispatch id; failures are raised
// as ComponentError.
class CameraAutomation {
public:
    explicit CameraAutomation(Microsoft::WRL::ComPtr<IDispatch> control) : control_(std::move(control)) {}

    bool FormatDialogAvailable();
    bool SourceDialogAvailable();
    void ShowFormatDialog();
    void ShowSourceDialog();
    void SaveFrameBitmap(const std::wstring& path);

private:
    Microsoft::WRL::ComPtr<IDispatch> control_;
};

}  // namespace vardolin::capture
