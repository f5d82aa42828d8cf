// The simulated camera: its picture, its settings and its two dialogs.
#include "camera/SimulatedCamera.h"
#include "camera/SimulatedCameraDialogs.h"
#include "camera/SimulatedScene.h"

#include "DialogAnswer.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace vardolin::capture::test {
namespace {

using namespace std::chrono_literals;

SimulatedCamera::Clock FixedClock(std::chrono::milliseconds* now) {
    return [now] { return *now; };
}

TEST(SimulatedCamera, FilmsAMovingSceneAt640By480UntilAnotherSizeIsChosen) {
    std::chrono::milliseconds now = 0ms;
    SimulatedCamera camera(FixedClock(&now));
    BitmapPixels first, later;
    ASSERT_TRUE(camera.CurrentFrame(first));
    EXPECT_EQ(first.width, 640);
    EXPECT_EQ(first.height, 480);
    now = 1200ms;
    ASSERT_TRUE(camera.CurrentFrame(later));
    EXPECT_NE(first.bits, later.bits);

    camera.SetFrameSize({320, 240});
    ASSERT_TRUE(camera.CurrentFrame(later));
    EXPECT_EQ(later.width, 320);
    EXPECT_EQ(later.height, 240);
}

TEST(SimulatedCamera, BrightnessAndContrastWorkAroundMidGreyAndStayInRange) {
    auto adjusted = [](uint8_t value, int brightness, int contrast) {
        BitmapPixels pixels;
        pixels.Resize(1, 1);
        pixels.Row(0)[0] = value;
        AdjustBrightnessContrast(pixels, brightness, contrast);
        return static_cast<int>(pixels.Row(0)[0]);
    };
    EXPECT_EQ(adjusted(100, 0, 100), 100);
    EXPECT_EQ(adjusted(128, 50, 100), 178);
    EXPECT_EQ(adjusted(250, 50, 100), 255);
    EXPECT_EQ(adjusted(28, -50, 100), 0);
    EXPECT_EQ(adjusted(200, 0, 0), 128);
    EXPECT_EQ(adjusted(148, 0, 200), 168);

    SimulatedCamera camera;
    camera.SetBrightness(500);
    camera.SetContrast(-3);
    EXPECT_EQ(camera.Brightness(), SimulatedCamera::kMaxBrightness);
    EXPECT_EQ(camera.Contrast(), SimulatedCamera::kMinContrast);
}

TEST(SimulatedCameraDialogs, FormatDialogChoosesTheResolutionAndCancelKeepsIt) {
    SimulatedCamera camera;
    {
        DialogAnswer answer(kFormatDialogTitle, [](HWND dialog) {
            HWND list = GetDlgItem(dialog, dialog_control::kResolutionList);
            EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
            EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);  // 640 x 480
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        camera.ShowFormatDialog(nullptr);
        EXPECT_TRUE(answer.Answered());
    }
    EXPECT_EQ(camera.FrameSize().width, 320);
    EXPECT_EQ(camera.FrameSize().height, 240);
    {
        DialogAnswer answer(kFormatDialogTitle, [](HWND dialog) {
            SendMessageW(GetDlgItem(dialog, dialog_control::kResolutionList), LB_SETCURSEL, 3, 0);
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        camera.ShowFormatDialog(nullptr);
    }
    EXPECT_EQ(camera.FrameSize().width, 320);
}

TEST(SimulatedCameraDialogs, SourceDialogSetsBrightnessAndContrast) {
    SimulatedCamera camera;
    DialogAnswer answer(kSourceDialogTitle, [](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageW(dialog, dialog_control::kContrast, TBM_GETPOS, 0, 0), 100);
        SendDlgItemMessageW(dialog, dialog_control::kBrightness, TBM_SETPOS, TRUE, -40);
        SendDlgItemMessageW(dialog, dialog_control::kContrast, TBM_SETPOS, TRUE, 150);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    camera.ShowSourceDialog(nullptr);
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(camera.Brightness(), -40);
    EXPECT_EQ(camera.Contrast(), 150);
}

}  // namespace
}  // namespace vardolin::capture::test
