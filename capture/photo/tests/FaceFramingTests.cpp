// The crop frame on the face after a still, through the take-photo button:
// the demo camera's photograph (a face), its drawn portrait (no face the
// finder takes), and a picture of our own with a face too large for the frame.
#include "capture/GetPICTexts.h"
#include "capture/photo/tests/PhotoWindowTest.h"
#include "win/Settings.h"
#include "capture/camera/VideoCaptureControl.h"
#include "capture/camera/VideoDevices.h"
#include "capture/photo/FaceFraming.h"

#include <algorithm>

namespace vardolin::capture::test {
namespace {

using namespace std::chrono_literals;
using democam::Scene;

constexpr SIZE kFrameSize{156, 188};

// Where the face finder puts the frame's corner for the largest face in the
// picture; nothing without a face.
std::optional<autoframe::FramePlacement> FinderPlace(const BitmapPixels& picture, SIZE inner) {
    return FramingOfLargestFace(picture, kFrameSize, inner);
}

// The picture enlarged 5:2 about the centre of the face, which stays put.
BitmapPixels EnlargedAboutFace(const BitmapPixels& picture, const autoframe::FaceBox& face) {
    int x = face.left + face.width / 2, y = face.top + face.height / 2;
    BitmapPixels large;
    large.Resize(picture.width, picture.height);
    for (int row = 0; row < large.height; ++row)
        for (int column = 0; column < large.width; ++column) {
            int fromX = std::clamp(x + (column - x) * 2 / 5, 0, picture.width - 1);
            int fromY = std::clamp(y + (row - y) * 2 / 5, 0, picture.height - 1);
            std::copy_n(picture.Row(fromY) + 3 * fromX, 3, large.Row(row) + 3 * column);
        }
    return large;
}

class FaceFramingTest : public PhotoWindowTest {
protected:
    ~FaceFramingTest() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kAutoFrameValue); }

    // Loads the window afresh with the option as given.
    void Reload(bool option) {
        Window().Unload();
        RememberAutoFrame(option);
        ShowWindowWithCamera();
    }
    // Takes a new still, going back to the live preview first when needed.
    void TakeStill() {
        if (Text(ControlId::CmdSaveDIB) == kRetakeCaption) Click(ControlId::CmdSaveDIB);
        PumpFor(200ms);  // a few frames of the live picture
        Click(ControlId::CmdSaveDIB);
        ASSERT_EQ(Text(ControlId::CmdSaveDIB), kRetakeCaption);
    }
    SIZE StillInner() {
        RECT inner{};
        GetClientRect(Control(ControlId::Picture1), &inner);
        return {inner.right, inner.bottom};
    }
    // The crop preview shows what lies under the frame in the still.
    void ExpectPreviewUnderFrame() {
        RECT frame = Frame();
        EXPECT_LT(MeanDifference(PreviewPixels(), Block(StillPixels(), frame.left, frame.top, 156, 188)), 1.0);
    }
};

// Off, or no face: the frame and the crop preview stay as they were. On with
// a face: the frame goes where the finder says and the preview follows as
// after a release; the store command then stores that crop, with no drag.
TEST_F(FaceFramingTest, TheFrameGoesOnTheFaceOnlyWithTheOptionAndAFace) {
    const struct {
        bool option;
        Scene scene;
        bool framed;
    } cases[] = {{false, Scene::Photograph, false}, {true, Scene::Portrait, false}, {true, Scene::Photograph, true}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.option << " scene " << static_cast<int>(c.scene));
        cameraSwitches_.Set(std::wstring(L"time=5000;scene=") +
                            (c.scene == Scene::Photograph ? L"photo" : L"portrait"));
        Reload(c.option);
        RECT before = Frame();
        BitmapPixels previewBefore = PreviewPixels();
        TakeStill();
        EXPECT_EQ(Text(ControlId::Label1), kLabel1Caption);
        if (!c.framed) {
            RECT after = Frame();
            EXPECT_TRUE(EqualRect(&before, &after));
            EXPECT_EQ(LargestDifference(PreviewPixels(), previewBefore), 0);
            continue;
        }
        std::optional<autoframe::FramePlacement> place = FinderPlace(DemoScene(5000ms, c.scene), StillInner());
        ASSERT_TRUE(place);
        EXPECT_FALSE(place->headLargerThanFrame);
        EXPECT_NEAR(Frame().left, place->left, 3);
        EXPECT_NEAR(Frame().top, place->top, 3);
        ExpectPreviewUnderFrame();

        AddEntries({L"宇航员"});
        Click(ControlId::Command1);
        EXPECT_TRUE(messages_.empty());
        EXPECT_LT(MeanDifference(DecodeJpeg(PicFolder() / L"宇航员.jpg"), PreviewPixels()), 6.0);
    }
}

// A head the frame cannot hold: the frame is centred on the face and the label asks
// the person to step back, until the next still; the frame still drags.
TEST_F(FaceFramingTest, AFaceLargerThanTheFrameCentresItAndAsksToStepBackUntilTheNextStill) {
    BitmapPixels photograph = DemoScene(5000ms, Scene::Photograph);
    std::optional<autoframe::FaceBox> face = LargestFaceIn(photograph);
    std::optional<autoframe::FramePlacement> usual = FinderPlace(photograph, StillInner());
    ASSERT_TRUE(face && usual);
    auto picture = std::make_shared<BitmapPixels>(EnlargedAboutFace(photograph, *face));
    environment_.UseCamera([picture](HWND parent, const RECT& bounds, int id) {
        return CreateVideoCaptureControl(parent, bounds, id, std::make_shared<PictureCamera>(picture));
    });
    Reload(true);
    TakeStill();
    std::optional<autoframe::FramePlacement> place = FinderPlace(*picture, StillInner());
    ASSERT_TRUE(place);
    ASSERT_TRUE(place->headLargerThanFrame);
    EXPECT_NEAR(Frame().left, place->left, 3);
    EXPECT_NEAR(Frame().top, place->top, 3);
    ExpectPreviewUnderFrame();
    EXPECT_EQ(Text(ControlId::Label1), kStepBackText);

    RECT placed = Frame();
    Drag({placed.left + 70, placed.top + 90}, {placed.left + 40, placed.top + 90});
    EXPECT_EQ(Frame().left, std::max(0L, placed.left - 30));
    ExpectPreviewUnderFrame();

    *picture = photograph;
    TakeStill();
    EXPECT_EQ(Text(ControlId::Label1), kLabel1Caption);
    EXPECT_NEAR(Frame().left, usual->left, 3);
}

}  // namespace
}  // namespace vardolin::capture::test
