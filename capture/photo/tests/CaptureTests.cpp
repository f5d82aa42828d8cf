// Taking a photo, taking it again, the driver dialogs, and no camera at all.
#include "capture/photo/tests/PhotoWindowTest.h"

#include "win/ComponentError.h"
#include "capture/NoCamera.h"
#include "capture/CameraControl.h"
#include "roster/PhotoFiles.h"
#include "capture/photo/TakePhoto.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/VideoDevices.h"

#include "tests/DialogAnswer.h"
#include "democam/testing/DemoCamDll.h"

#include <optional>

namespace vardolin::capture::test {
namespace {

using CaptureTest = PhotoWindowTest;
using namespace std::chrono_literals;

bool Visible(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST_F(CaptureTest, TakePhotoShowsTheStillUnscaledAndSwitchesCaptionAndButtons) {
    ASSERT_TRUE(IsWindowEnabled(Control(ControlId::CmdSaveDIB)));
    ASSERT_FALSE(Visible(Control(ControlId::Picture1)));

    Click(ControlId::CmdSaveDIB);

    EXPECT_EQ(Text(ControlId::CmdSaveDIB), L"重新照");
    EXPECT_TRUE(Visible(Control(ControlId::Picture1)));
    EXPECT_TRUE(IsWindowEnabled(Control(ControlId::Command1)));
    BitmapPixels still = StillPixels();
    EXPECT_EQ(still.width, 320);
    EXPECT_EQ(still.height, 240);
    EXPECT_LT(MeanDifference(still, DemoScene(0ms)), 6.0);
    EXPECT_TRUE(std::filesystem::exists(TemporaryPhotoPath()));

    // Shown from the top-left corner, one to one (the point lies inside the frame's outline).
    UpdateWindow(Control(ControlId::Picture1));
    HDC dc = GetDC(Control(ControlId::Picture1));
    const uint8_t* p = still.Row(100) + 3 * 200;
    EXPECT_EQ(GetPixel(dc, 200, 100), RGB(p[2], p[1], p[0]));
    ReleaseDC(Control(ControlId::Picture1), dc);
}

TEST_F(CaptureTest, TakingAgainReturnsToTheLivePreviewAndTheNextClickTakesANewFrame) {
    Click(ControlId::CmdSaveDIB);
    BitmapPixels first = StillPixels();

    Click(ControlId::CmdSaveDIB);
    EXPECT_EQ(Text(ControlId::CmdSaveDIB), L"先拍照");
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::Command1)));
    EXPECT_FALSE(Visible(Control(ControlId::Picture1)));

    SetCameraTime(1500ms);
    Click(ControlId::CmdSaveDIB);
    EXPECT_EQ(Text(ControlId::CmdSaveDIB), L"重新照");
    EXPECT_GT(LargestDifference(StillPixels(), first), 0);
}

BOOL CALLBACK FindListBox(HWND child, LPARAM out) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (_wcsicmp(name, L"ListBox") != 0) return TRUE;
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
}

// The camera's format page lists its formats; the current one is selected.
HWND FormatList(HWND frame) {
    HWND found = nullptr;
    EnumChildWindows(frame, FindListBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(CaptureTest, TheFormatDialogChangesTheCamerasFormatAndThePreviewGoesOn) {
    std::wstring before, after;
    auto openFormatDialog = [&](std::wstring& selected, const wchar_t* choose) {
        DialogAnswer answer(L"视频格式", [&](HWND frame) {
            EXPECT_FALSE(IsWindowEnabled(GetWindow(frame, GW_OWNER)));  // modal to the capture window
            HWND list = FormatList(frame);
            ASSERT_NE(list, nullptr);
            selected = SelectedText(list);
            ASSERT_GE(SelectExactly(list, choose), 0);
            SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
        Click(ControlId::CmdFormatDlg);
        EXPECT_TRUE(answer.Answered());
    };
    openFormatDialog(before, L"1280 x 720 RGB24");
    openFormatDialog(after, L"1280 x 720 RGB24");
    EXPECT_EQ(before, L"320 x 240 RGB24");  // what the window asked for: the preview's size
    EXPECT_EQ(after, L"1280 x 720 RGB24");

    ASSERT_TRUE(PumpUntil([&] { return Window().Camera()->Problem().empty(); }));
    SetCameraTime(2000ms);
    Click(ControlId::CmdSaveDIB);
    EXPECT_EQ(Text(ControlId::CmdSaveDIB), L"重新照");
    EXPECT_LT(MeanDifference(StillPixels(), DemoScene(2000ms)), 6.0);  // the whole 16:9 picture, cropped to 4:3
}

TEST_F(CaptureTest, TheSourceDialogOfOneCameraClosesWithOkAndTheCameraGoesOn) {
    DialogAnswer answer(kSourceDialogTitle, [](HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDOK, 0); });
    Click(ControlId::CmdSourceDlg);
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(PumpUntil([&] { return Window().Camera()->Problem().empty(); }));
}

TEST_F(CaptureTest, WithTwoCamerasTheSourceDialogChoosesOneThatIsRememberedAndSkippedWhenGoneOrBusy) {
    std::optional<democam::SecondCamera> second(std::in_place);
    ASSERT_TRUE(second->Registered());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kCameraNameValue);
    // Each camera shows its own moment, so a still tells which one took it.
    cameraSwitches_.Set(std::wstring(L"time=0;") + kSecondDemoCamera + L":time=9000");
    auto stillIsFrom = [&](std::chrono::milliseconds t) {
        ShowWindowWithCamera();
        Click(ControlId::CmdSaveDIB);
        bool from = MeanDifference(StillPixels(), DemoScene(t)) < 6.0;
        Click(ControlId::CmdSaveDIB);
        return from;
    };
    Window().Unload();

    ShowWindowWithCamera();
    ASSERT_TRUE(ChooseOneOfTwoCameras(kSecondDemoCamera));
    EXPECT_EQ(RememberedCamera().name, kSecondDemoCamera);
    EXPECT_TRUE(stillIsFrom(9000ms));

    Window().Unload();
    EXPECT_TRUE(stillIsFrom(9000ms)) << "the remembered camera is tried first";

    Window().Unload();
    RememberCamera({kDemoCamera, L""});
    cameraSwitches_.Set(std::wstring(L"time=0;") + kSecondDemoCamera + L":time=9000;" + kDemoCamera + L":inuse");
    EXPECT_TRUE(stillIsFrom(9000ms)) << "a camera that cannot start does not hide the next one";

    Window().Unload();
    RememberCamera({kSecondDemoCamera, L""});
    cameraSwitches_.Set(std::wstring(L"time=0;") + kSecondDemoCamera + L":time=9000");
    second.reset();
    EXPECT_TRUE(stillIsFrom(0ms)) << "a remembered camera that is gone falls back to the other";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kCameraNameValue);
}

// Without any camera the still box covers the preview and says why; a camera
// that is there but cannot start says why in the preview, and its dialogs
// stay offered so that another camera or format can be chosen.
TEST_F(CaptureTest, WithoutAWorkingCameraTakingIsDisabledAndThePreviewSaysWhy) {
    const struct {
        const wchar_t* switches;
        CameraControlFactory factory;
        const wchar_t* problem;
        bool dialogs;
    } cases[] = {
        {L"", CreateNoCamera, L"未找到摄像头", false},
        {L"inuse", CreateChosenCameraControl, L"摄像头正被其他程序使用", true},
    };
    for (const auto& c : cases) {
        Window().Unload();
        cameraSwitches_.Set(c.switches);
        environment_.UseCamera(c.factory);
        Window().Show();

        EXPECT_TRUE(PumpUntil([&] { return Window().Camera()->Problem() == c.problem; }));
        EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdSaveDIB)));
        EXPECT_EQ(IsWindowEnabled(Control(ControlId::CmdFormatDlg)) != FALSE, c.dialogs);
        EXPECT_EQ(IsWindowEnabled(Control(ControlId::CmdSourceDlg)) != FALSE, c.dialogs);
        EXPECT_EQ(Visible(Control(ControlId::Picture1)), !c.dialogs);
        if (!c.dialogs) {
            EXPECT_EQ(Window().Picture1()->Notice(), c.problem);
        }
    }
}

TEST_F(CaptureTest, ALostCameraSaysSoGivesNoOldFrameAndComesBackByItself) {
    // Unplugged (the system reports it) and stalled (silent, as a hung driver is).
    for (const wchar_t* failure : {L"unplugged", L"stalled"}) {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(failure));
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(ControlId::CmdSaveDIB)) != FALSE; }));
        cameraSwitches_.Set(std::wstring(L"time=0;") + failure);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindowEnabled(Control(ControlId::CmdSaveDIB)); }));
        EXPECT_EQ(Window().Camera()->Problem(), L"摄像头已断开，重新连接后自动恢复");
        CameraAutomation camera(Window().Camera()->Automation());
        EXPECT_THROW(camera.SaveFrameBitmap((roster::LibraryFolder() / L"stale.bmp").wstring()), ComponentError);
        EXPECT_FALSE(std::filesystem::exists(roster::LibraryFolder() / L"stale.bmp"));

        cameraSwitches_.Set(L"time=0");
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(ControlId::CmdSaveDIB)) != FALSE; }));
        EXPECT_TRUE(Window().Camera()->Problem().empty());
    }
    PumpFor(500ms);
    Click(ControlId::CmdSaveDIB);
    EXPECT_EQ(Text(ControlId::CmdSaveDIB), L"重新照");
    EXPECT_LT(MeanDifference(StillPixels(), DemoScene(0ms)), 6.0);
}

}  // namespace
}  // namespace vardolin::capture::test
