// The component-wide state shared by Class1 and the windows. One per calling
// thread (the host calls on its single user-interface thread); it lives as
// long as the loaded library.
#pragma once

#include "capture/CameraControl.h"
#include "win/Environment.h"
#include "capture/JpegQuality.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <memory>

namespace vardolin::about {
class frmAbout;
}

namespace vardolin::capture {

class GetPIC;

struct ComponentState {
    ComponentState();
    ~ComponentState();

    // Set by the first Form_show that finds them empty, never replaced.
    Microsoft::WRL::ComPtr<IDispatch> hostApplication;
    Microsoft::WRL::ComPtr<IDispatch> hostWorkbook;
    Microsoft::WRL::ComPtr<IDispatch> hostWorksheet;

    JpegQuality jpegQuality;

    // The system as the windows use it: message boxes, the browser, the file
    // manager and timers. Tests put fakes in.
    Environment& environment = ThreadEnvironment();
    // Makes the capture window's camera control; empty: over the system's
    // webcams. Tests put other cameras in.
    CameraControlFactory cameraControl;

    // The single capture window instance, created on first use.
    GetPIC& CaptureWindow();
    // The About window of the capture window's About button, created on first use.
    about::frmAbout& AboutWindow();

private:
    std::unique_ptr<GetPIC> captureWindow_;
    std::unique_ptr<about::frmAbout> aboutWindow_;
};

// This thread's component state, created on first use. It is deliberately
// never destroyed: releasing the host's objects while the library is being
// unloaded could call into a host that is already shutting down.
ComponentState& CurrentComponentState();

}  // namespace vardolin::capture
