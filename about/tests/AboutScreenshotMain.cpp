// Shows the capture window and opens the About window from its About button,
// as a user would, then runs until the About window has closed by itself or a
// minute has passed.
#include "ComponentState.h"
#include "GetPIC.h"
#include "NoCamera.h"
#include "frmAbout.h"

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

        auto& about = vardolin::capture::CurrentComponentState().AboutWindow();
        UINT_PTR deadline = SetTimer(nullptr, 0, 60000, nullptr);
        MSG msg;
        while (about.IsLoaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && msg.wParam == deadline) break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        about.Unload();
        capture.Unload();
    }
    CoUninitialize();
    return 0;
}
