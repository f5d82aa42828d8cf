// The host quits with the capture and About windows open and the camera
// running: its thread uninitialises COM, and COM then unloads the DLLs it
// loaded for the thread (Windows whatever DllCanUnloadNow says; Wine only
// those that agree, so the test drops COM's reference itself).
#include "capture/GetPICLayout.h"
#include "tests/FormShowCall.h"
#include "tests/ThreadWindows.h"
#include "tests/DemoCamera.h"

#include <gtest/gtest.h>
#include <imm.h>
#include <oleauto.h>
#include <wrl/client.h>

namespace vardolin::capture::test {
namespace {

using Microsoft::WRL::ComPtr;
using vardolin::test::CallFormShow;
using vardolin::test::FindThreadWindow;

// Whether the demo camera's DLL has a filter alive (a capture graph).
bool CameraInUse() {
    HMODULE camera = GetModuleHandleW(L"vardolin-democam.dll");
    if (!camera) return false;
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(camera, "DllCanUnloadNow")));
    return canUnload && canUnload() == S_FALSE;
}

TEST(HostShutdown, LastCoUninitializeClosesTheWindowsAndTheDllSurvivesCom) {
    // The host's own references are the thread's only ones: an input method
    // takes one of its own while the thread has windows, and COM then stays
    // up past the host's last CoUninitialize, unloading nothing.
    ImmDisableIME(0);
    // The host's own initialisation, and a nested one (a macro, a dialog).
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    HWND capture = nullptr, about = nullptr;
    {
        ComPtr<IDispatch> class1;
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(L"Vardolin.Class1", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&class1)), S_OK);
        ASSERT_EQ(CallFormShow(class1.Get()), S_OK);
        capture = FindThreadWindow(L"VardolinGetPIC");
        ASSERT_NE(capture, nullptr);
        SendMessageW(GetDlgItem(capture, static_cast<int>(ControlId::CmdOK)), BM_CLICK, 0, 0);
        about = FindThreadWindow(L"VardolinfrmAbout");
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(PumpUntil(CameraInUse)) << "the camera graph runs";
    }  // the macro is done with the object; the windows stay

    CoUninitialize();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(IsWindow(capture) && IsWindow(about)) << "not the last uninitialisation";

    CoUninitialize();
    EXPECT_FALSE(IsWindow(capture));
    EXPECT_FALSE(IsWindow(about));

    HMODULE dll = GetModuleHandleW(L"vardolin.dll");
    ASSERT_NE(dll, nullptr) << "the DLL stays loaded after COM let it go";
    FreeLibrary(dll);  // as Windows' COM does, whatever DllCanUnloadNow says
    EXPECT_EQ(GetModuleHandleW(L"vardolin.dll"), dll);
    PumpFor(std::chrono::milliseconds(300));

    // The thread may start COM again; the component is told about it again.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
}

}  // namespace
}  // namespace vardolin::capture::test
