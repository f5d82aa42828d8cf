// Our video-capture control as the capture window uses it: the five members
// by dispatch id, the preview in its rectangle, and which camera is chosen.
#include "CameraControl.h"
#include "ComponentError.h"
#include "camera/CameraChoice.h"
#include "camera/CameraControlObject.h"
#include "camera/DirectShowCamera.h"
#include "camera/SimulatedCamera.h"
#include "camera/SimulatedScene.h"
#include "camera/VideoCaptureControl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace vardolin::capture::test {
namespace {

using Microsoft::WRL::ComPtr;
namespace fs = std::filesystem;

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

fs::path ScratchFile(const wchar_t* name) { return fs::temp_directory_path() / name; }

TEST(CameraControlObject, AnswersTheFiveMembersByNameWithTheControlsDispatchIds) {
    ComPtr<IDispatch> control = CreateCameraControlObject(std::make_shared<SimulatedCamera>(), nullptr);
    const std::pair<const wchar_t*, DISPID> members[] = {
        {L"FormatDialogAvailable", 0x68030001}, {L"SourceDialogAvailable", 0x68030000},
        {L"ShowFormatDialog", 0x60030029},      {L"ShowSourceDialog", 0x6003002A},
        {L"savefRAMEbitmap", 0x60030030}};
    for (auto [name, expected] : members) {
        DISPID id = 0;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << static_cast<const void*>(name);
        EXPECT_EQ(id, expected);
    }
    CameraAutomation camera(control);
    EXPECT_TRUE(camera.FormatDialogAvailable());
    EXPECT_TRUE(camera.SourceDialogAvailable());
}

TEST(CameraControlObject, SaveFrameBitmapReplacesTheFileWithA24BitFrameThePictureLoaderReads) {
    fs::path file = ScratchFile(L"camera-frame.bmp");
    { std::ofstream(file) << "an older file"; }
    CameraAutomation camera(CreateCameraControlObject(std::make_shared<SimulatedCamera>(), nullptr));

    camera.SaveFrameBitmap(file.wstring());

    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    DIBSECTION dib{};
    ASSERT_TRUE(GetObjectW(loaded, sizeof dib, &dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 640);
    EXPECT_EQ(dib.dsBm.bmHeight, 480);
    EXPECT_EQ(dib.dsBmih.biBitCount, 24);
    DeleteObject(loaded);
    EXPECT_FALSE(fs::exists(file.wstring() + L".new"));
    fs::remove(file);
}

TEST(CameraControlObject, AFrameThatCannotBeWrittenIsRaisedWithTheFileNameAndLeavesNothing) {
    CameraAutomation camera(CreateCameraControlObject(std::make_shared<SimulatedCamera>(), nullptr));
    fs::path file = ScratchFile(L"no-such-folder") / L"frame.bmp";
    try {
        camera.SaveFrameBitmap(file.wstring());
        FAIL() << "no error raised";
    } catch (const ComponentError& e) {
        EXPECT_NE(e.description().find(file.wstring()), std::wstring::npos);
    }
    EXPECT_FALSE(fs::exists(file.parent_path()));
}

class PreviewWindow : public ::testing::Test {
protected:
    PreviewWindow() {
        parent_ = CreateWindowExW(0, L"STATIC", L"preview", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 340, 250,
                                  nullptr, nullptr, nullptr, nullptr);
    }
    ~PreviewWindow() override { DestroyWindow(parent_); }

    static void Pump(std::chrono::milliseconds duration) {
        auto end = std::chrono::steady_clock::now() + duration;
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        } while (std::chrono::steady_clock::now() < end);
    }

    HWND parent_ = nullptr;
};

TEST_F(PreviewWindow, ShowsTheLivePictureUnscaledFromTheTopLeftCorner) {
    RECT bounds{8, 8, 8 + 312, 8 + 224};
    auto control = CreateVideoCaptureControl(parent_, bounds, 1007, std::make_shared<SimulatedCamera>());
    ASSERT_NE(control->Window(), nullptr);
    Pump(std::chrono::milliseconds(4 * kPreviewIntervalMs));

    BitmapPixels scene;
    DrawSimulatedScene(scene, 640, 480, std::chrono::milliseconds(0));
    HDC dc = GetDC(control->Window());
    for (POINT p : {POINT{300, 10}, POINT{305, 220}, POINT{2, 200}}) {  // backdrop, away from figure and clock
        const uint8_t* expected = scene.Row(p.y) + 3 * p.x;
        EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(expected[2], expected[1], expected[0])) << p.x << "," << p.y;
    }
    ReleaseDC(control->Window(), dc);
}

TEST(CameraChoice, TheSimulatedCameraIsChosenOnlyByItsRegistryValue) {
    const wchar_t* key = L"Software\\Vardolin\\Tests\\CameraChoice";
    auto set = [&](const wchar_t* value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, kCameraSettingValue, REG_SZ, value,
                        static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    };
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    EXPECT_FALSE(SimulatedCameraChosen(HKEY_CURRENT_USER, key));
    set(L"Simulated");
    EXPECT_TRUE(SimulatedCameraChosen(HKEY_CURRENT_USER, key));
    set(L"webcam");
    EXPECT_FALSE(SimulatedCameraChosen(HKEY_CURRENT_USER, key));
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

TEST(DirectShowSample, RowsComeOutTopFirstWhicheverWayTheSampleIsStored) {
    BITMAPINFOHEADER header{};
    header.biWidth = 2;
    header.biBitCount = 24;
    // Two rows of two pixels, 8 bytes each with padding; each row's first byte marks it.
    const uint8_t sample[16] = {10, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0};
    BitmapPixels frame;
    header.biHeight = 2;  // bottom-up: the first row in memory is the bottom one
    ASSERT_TRUE(CopyVideoSample(header, sample, sizeof sample, frame));
    EXPECT_EQ(frame.Row(0)[0], 20);
    header.biHeight = -2;  // top-down
    ASSERT_TRUE(CopyVideoSample(header, sample, sizeof sample, frame));
    EXPECT_EQ(frame.Row(0)[0], 10);
    EXPECT_FALSE(CopyVideoSample(header, sample, 15, frame));
    header.biBitCount = 32;
    EXPECT_FALSE(CopyVideoSample(header, sample, sizeof sample, frame));
}

TEST(CameraChoice, WithoutAnyCameraTheControlOffersNoDialogs) {
    ComApartment com;
    ASSERT_FALSE(SimulatedCameraChosen());
    EXPECT_EQ(OpenFirstVideoInputDevice(), nullptr);  // no video device under the test runner

    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    auto control = CreateChosenCameraControl(parent, RECT{0, 0, 50, 50}, 1007);
    CameraAutomation camera(control->Automation());
    EXPECT_FALSE(camera.FormatDialogAvailable());
    EXPECT_FALSE(camera.SourceDialogAvailable());
    EXPECT_THROW(camera.SaveFrameBitmap(ScratchFile(L"none.bmp").wstring()), ComponentError);
    control.reset();
    DestroyWindow(parent);
}

}  // namespace
}  // namespace vardolin::capture::test
