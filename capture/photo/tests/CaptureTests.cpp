// Taking a photo, taking it again, the driver dialogs, and no camera at all.
#include "PhotoWindowTest.h"

#include "NoCamera.h"
#include "PhotoFiles.h"
#include "camera/SimulatedCameraDialogs.h"

#include "../../camera/tests/DialogAnswer.h"

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
    EXPECT_EQ(still.width, 640);
    EXPECT_EQ(still.height, 480);
    EXPECT_TRUE(std::filesystem::exists(LibraryFolder() / L"TmpPhoto.bmp"));

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

    cameraTime_ = 1500ms;
    Click(ControlId::CmdSaveDIB);
    EXPECT_EQ(Text(ControlId::CmdSaveDIB), L"重新照");
    EXPECT_GT(LargestDifference(StillPixels(), first), 0);
}

TEST_F(CaptureTest, DialogButtonsOpenTheCamerasDialogsAndTheChoiceApplies) {
    {
        DialogAnswer answer(kFormatDialogTitle, [](HWND dialog) {
            EXPECT_FALSE(IsWindowEnabled(GetWindow(dialog, GW_OWNER)));  // modal to the capture window
            SendDlgItemMessageW(dialog, dialog_control::kResolutionList, LB_SETCURSEL, 0, 0);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        Click(ControlId::CmdFormatDlg);
        ASSERT_TRUE(answer.Answered());
    }
    {
        DialogAnswer answer(kSourceDialogTitle, [](HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDOK, 0); });
        Click(ControlId::CmdSourceDlg);
        ASSERT_TRUE(answer.Answered());
    }
    Click(ControlId::CmdSaveDIB);
    EXPECT_EQ(StillPixels().width, 320);
    EXPECT_EQ(StillPixels().height, 240);
}

TEST_F(CaptureTest, WithoutACameraTakePhotoIsDisabledAndTheStillBoxCoversThePreview) {
    Window().Unload();
    InstallCameraControl(CreateNoCamera);
    Window().Show();

    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdSaveDIB)));
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdFormatDlg)));
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdSourceDlg)));
    EXPECT_TRUE(Visible(Control(ControlId::Picture1)));
}

}  // namespace
}  // namespace vardolin::capture::test
