// Shows the capture window and opens the About window from its About button,
// as a user would, then runs until the About window has closed by itself or a
// minute has passed.
#include "capture/ComponentState.h"
#include "capture/GetPIC.h"
#include "capture/NoCamera.h"
#include "tests/ShowUntilClosed.h"
#include "about/frmAbout.h"

#include <objbase.h>

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        // No browser, and the capture window without a camera.
        vardolin::Environment& environment = vardolin::capture::CurrentComponentState().environment;
        environment.webPageOpener = [](const std::wstring&) {};
        vardolin::capture::CurrentComponentState().cameraControl = vardolin::capture::CreateNoCamera;
        auto& capture = vardolin::capture::CurrentComponentState().CaptureWindow();
        capture.Show();
        SendMessageW(capture.Control(vardolin::capture::ControlId::CmdOK), BM_CLICK, 0, 0);

        vardolin::test::ShowUntilClosed(vardolin::capture::CurrentComponentState().AboutWindow());
        capture.Unload();
    }
    CoUninitialize();
    return 0;
}
