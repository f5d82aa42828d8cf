// A whole session through the registered component, as a macro drives it:
// Class1.Form_show with the demo camera, a roster of two, one photo
// framed and stored for each, both files decoded by the platform's loader.
#include "capture/BitmapFile.h"
#include "tests/PhotoCompare.h"
#include "capture/GetPICLayout.h"
#include "roster/PhotoFiles.h"
#include "capture/photo/TakePhoto.h"
#include "tests/FormShowCall.h"
#include "tests/ThreadWindows.h"
#include "win/Win32Handles.h"
#include "tests/DemoCamera.h"

#include <gtest/gtest.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <filesystem>
#include <string>

namespace vardolin::capture::test {
namespace {

using Microsoft::WRL::ComPtr;
namespace fs = std::filesystem;

// Any message box that opens is closed and counted: none is expected.
int unexpectedDialogs = 0;
void CALLBACK CloseDialogs(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND dialog = vardolin::test::FindThreadWindow(L"#32770")) {
        ++unexpectedDialogs;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
}

HWND Item(HWND window, ControlId id) { return GetDlgItem(window, static_cast<int>(id)); }

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(EndToEnd, PhotographsATwoNameRosterWithTheDemoCamera) {
    ComApartment com;
    std::error_code ignored;
    fs::remove_all(roster::LibraryFolder() / L"Pic", ignored);
    UINT_PTR watchdog = SetTimer(nullptr, 0, 50, CloseDialogs);

    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Vardolin.Class1", &clsid), S_OK);
    ComPtr<IDispatch> class1;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&class1)), S_OK);
    ASSERT_EQ(vardolin::test::CallFormShow(class1.Get()), S_OK);
    HWND window = vardolin::test::FindThreadWindow(L"VardolinGetPIC");
    ASSERT_NE(window, nullptr);
    // The user waits until the preview shows the camera's picture.
    HWND preview = Item(window, ControlId::ezVidCap1);
    ASSERT_TRUE(PumpUntil([&] {
        WindowDc dc(preview);
        return GetPixel(dc.get(), 300, 12) != RGB(0, 0, 0);
    }));

    HWND list = Item(window, ControlId::List1);
    for (const wchar_t* name : {L"张三", L"李四"}) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    ASSERT_TRUE(IsWindowEnabled(Item(window, ControlId::CmdSaveDIB)));
    SendMessageW(Item(window, ControlId::CmdSaveDIB), BM_CLICK, 0, 0);
    HWND still = Item(window, ControlId::Picture1);
    SendMessageW(still, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    SendMessageW(still, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(180, 104));
    SendMessageW(still, WM_LBUTTONUP, 0, MAKELPARAM(180, 104));
    SendMessageW(Item(window, ControlId::Command1), BM_CLICK, 0, 0);
    SendMessageW(Item(window, ControlId::Command1), BM_CLICK, 0, 0);
    Pump();

    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    const std::filesystem::path previewFile = TemporaryPhotoPath();
    HBITMAP crop = static_cast<HBITMAP>(
        LoadImageW(nullptr, previewFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(crop, nullptr);
    BitmapPixels framed = ReadBitmapPixels(crop);
    DeleteObject(crop);
    for (const wchar_t* name : {L"张三.jpg", L"李四.jpg"}) {
        BitmapPixels photo = DecodeJpeg(roster::LibraryFolder() / L"Pic" / name);
        ASSERT_EQ(photo.width, 156);
        ASSERT_EQ(photo.height, 188);
        EXPECT_LT(MeanDifference(photo, framed), 3.0);
    }
    EXPECT_EQ(unexpectedDialogs, 0);

    SendMessageW(window, WM_CLOSE, 0, 0);
    KillTimer(nullptr, watchdog);
    class1.Reset();
    fs::remove_all(roster::LibraryFolder() / L"Pic", ignored);
}

}  // namespace
}  // namespace vardolin::capture::test
