// Shows the capture window with a few roster entries, as a user would see it
// after picking names, until it is closed or a minute has passed.
#include "capture/ComponentState.h"
#include "capture/FormShow.h"
#include "capture/GetPIC.h"
#include "devhost/Host.h"
#include "capture/NoCamera.h"
#include "tests/ShowUntilClosed.h"

#include <objbase.h>

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        // The window without a camera.
        vardolin::capture::CurrentComponentState().cameraControl = vardolin::capture::CreateNoCamera;
        vardolin::devhost::Host host(vardolin::devhost::Workbook::FromCsv("张三\n李四\n王五\n赵六\n"));
        vardolin::capture::FormShow(host.Application().Get(), host.ActiveWorkbook().Get(), host.ActiveSheet().Get());
        auto& window = vardolin::capture::CurrentComponentState().CaptureWindow();
        for (const wchar_t* name : {L"张三", L"李四", L"王五", L"赵六"})
            SendMessageW(window.Control(vardolin::capture::ControlId::List1), LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(name));

        vardolin::test::ShowUntilClosed(window);
    }
    CoUninitialize();
    return 0;
}
