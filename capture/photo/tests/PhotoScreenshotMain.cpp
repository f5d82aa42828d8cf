// Shows the capture window with the system's camera and a roster, for a look
// at it as a user sees it: "live" leaves the preview running, "still" takes a
// photo and drags the crop frame over it, "framed" takes a photo and leaves
// the frame where the still put it (on the face, with the option on),
// "format" and "source" open the camera's dialogs. Runs until closed or for a
// minute.
#include "capture/ComponentState.h"
#include "capture/GetPIC.h"
#include "tests/ShowUntilClosed.h"

#include <objbase.h>

#include <cwchar>
#include <utility>

using namespace vardolin::capture;

int wmain(int argc, wchar_t** argv) {
    bool still = argc > 1 && wcscmp(argv[1], L"still") == 0;
    bool framed = argc > 1 && wcscmp(argv[1], L"framed") == 0;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GetPIC& window = CurrentComponentState().CaptureWindow();
    window.Show();
    for (const wchar_t* name : {L"张三", L"李四", L"王五"})
        SendMessageW(window.Control(ControlId::List1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    if (still || framed) {
        Sleep(700);  // let the figure sway a little
        SendMessageW(window.Control(ControlId::CmdSaveDIB), BM_CLICK, 0, 0);
    }
    if (still) {
        HWND box = window.Control(ControlId::Picture1);
        SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
        SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(162, 90));
        SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(162, 90));
    }
    if (argc > 1 && wcscmp(argv[1], L"remind") == 0)
        SendMessageW(window.Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
    for (auto [mode, button] : {std::pair{L"format", ControlId::CmdFormatDlg},
                                {L"source", ControlId::CmdSourceDlg},
                                {L"remind", ControlId::Command1}})
        if (argc > 1 && wcscmp(argv[1], mode) == 0) PostMessageW(window.Control(button), BM_CLICK, 0, 0);
    vardolin::test::ShowUntilClosed(window);
    CoUninitialize();
    return 0;
}
