// The checks on a new still, through the take-photo button with the demo
// camera's photograph: each warning made by the camera's blur and gain
// switches (and the drawn portrait for no face, a shrunk photograph for too
// far), none with the option off, and the line gone with 重新照 or 再裁剪.
#include "capture/GetPICTexts.h"
#include "capture/camera/VideoCaptureControl.h"
#include "capture/photo/StillCheck.h"
#include "capture/photo/tests/PhotoWindowTest.h"
#include "win/Settings.h"

#include <algorithm>

namespace vardolin::capture::test {
namespace {

using namespace std::chrono_literals;

// The picture shrunk to 7/10 about its centre, on its own corner colour: the
// photograph's face, 79 pixels wide, becomes 55, found but under 0.40 of the
// frame's 156.
BitmapPixels Shrunk(const BitmapPixels& picture) {
    BitmapPixels small;
    small.Resize(picture.width, picture.height);
    for (int row = 0; row < small.height; ++row)
        for (int column = 0; column < small.width; ++column) {
            int x = picture.width / 2 + (column - picture.width / 2) * 10 / 7;
            int y = picture.height / 2 + (row - picture.height / 2) * 10 / 7;
            bool inside = x >= 0 && y >= 0 && x < picture.width && y < picture.height;
            std::copy_n(inside ? picture.Row(y) + 3 * x : picture.Row(0), 3, small.Row(row) + 3 * column);
        }
    return small;
}

class PhotoChecksTest : public PhotoWindowTest {
protected:
    ~PhotoChecksTest() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoChecksValue); }

    void TakeStill() {
        if (Text(ControlId::CmdSaveDIB) == kRetakeCaption) Click(ControlId::CmdSaveDIB);
        PumpFor(200ms);
        Click(ControlId::CmdSaveDIB);
        ASSERT_EQ(Text(ControlId::CmdSaveDIB), kRetakeCaption);
    }
    std::wstring Warning() { return Window().Picture1()->Warning(); }
};

TEST_F(PhotoChecksTest, EachProblemOfTheStillIsDrawnWithTheOptionOnAndGoesWithRetakeOrStore) {
    const struct {
        bool option;
        const wchar_t* switches;
        const wchar_t* warning;
    } cases[] = {
        {true, L"scene=photo", L""},
        {false, L"scene=photo;blur=4", L""},
        {true, L"scene=photo;blur=4", kBlurredStillText},
        {true, L"scene=photo;gain=0.2", kTooDarkStillText},
        {true, L"scene=photo;gain=2.5", kTooBrightStillText},
        {true, L"scene=portrait", kNoFaceStillText},
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.option << " " << testing::PrintToString(std::wstring(c.switches)));
        cameraSwitches_.Set(std::wstring(L"time=5000;") + c.switches);
        Window().Unload();
        RememberPhotoChecks(c.option);
        ShowWindowWithCamera();
        TakeStill();
        EXPECT_EQ(Warning(), c.warning);
        // The same still judged by the portable checks, as the window must.
        if (c.option)
            EXPECT_EQ(StillWarningText(CheckStill(StillPixels(), Frame(), PhotoScale())), std::wstring(c.warning));
        if (Warning().empty()) continue;
        Click(ControlId::CmdSaveDIB);  // 重新照
        EXPECT_EQ(Warning(), L"");
        TakeStill();
        EXPECT_EQ(Warning(), c.warning);
        Click(ControlId::Command1);  // 再裁剪 (nobody to store for: only the reminder)
        messages_.clear();
        EXPECT_EQ(Warning(), L"");
    }
}

TEST_F(PhotoChecksTest, AFaceSmallInTheFrameAsksThePersonToComeCloser) {
    auto small = std::make_shared<BitmapPixels>(Shrunk(DemoScene(5000ms, democam::Scene::Photograph)));
    environment_.UseCamera([small](HWND parent, const RECT& bounds, int id) {
        return CreateVideoCaptureControl(parent, bounds, id, std::make_shared<PictureCamera>(small));
    });
    Window().Unload();
    RememberPhotoChecks(true);
    ShowWindowWithCamera();
    TakeStill();
    EXPECT_EQ(Warning(), kTooFarStillText);
}

}  // namespace
}  // namespace vardolin::capture::test
