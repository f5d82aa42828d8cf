// The crop frame: how far it moves, where it stops, and what a release copies.
#include "capture/photo/tests/PhotoWindowTest.h"

#include "capture/photo/CropFrame.h"

namespace vardolin::capture::test {
namespace {

constexpr FrameBox kAtLoad{120, 24, 156, 188};
constexpr SIZE kInner{308, 220};

TEST(MoveCropFrame, AddsTheOffsetFromTheGrabPointInWholePixelsTruncatedTowardZero) {
    auto moved = [](float dx, float dy) {
        FrameBox f = MoveCropFrame(kAtLoad, kInner, 1, 600 + dx, 900 + dy, 600, 900);
        return std::pair{f.left - kAtLoad.left, f.top - kAtLoad.top};
    };
    EXPECT_EQ(moved(14, 14.4f), std::pair(0, 0));
    EXPECT_EQ(moved(-14, -14.4f), std::pair(0, 0));
    EXPECT_EQ(moved(-15, 15), std::pair(-1, 1));
    EXPECT_EQ(moved(-14.5f, 29.5f), std::pair(0, 2));  // nearest with halves to even: -14 and 30
    EXPECT_EQ(moved(450, -300), std::pair(30, -20));
}

TEST(MoveCropFrame, MovesOnlyWithTheLeftButtonAloneAndFromInsideTheBox) {
    for (int buttons : {0, 2, 3, 4, 5})
        EXPECT_EQ(MoveCropFrame(kAtLoad, kInner, buttons, 300, 300, 0, 0).left, kAtLoad.left) << buttons;
    FrameBox outside{-1, 24, 156, 188};
    EXPECT_EQ(MoveCropFrame(outside, kInner, 1, 300, 300, 0, 0).left, -1);
    FrameBox tooBig{0, 0, 400, 188};
    EXPECT_EQ(MoveCropFrame(tooBig, kInner, 1, 300, 300, 0, 0).left, 0);
}

using CropFrameTest = PhotoWindowTest;

TEST_F(CropFrameTest, FollowsTheDraggingPointerAndStopsAtEachEdge) {
    Click(ControlId::CmdSaveDIB);
    Drag({200, 100}, {231, 87});
    EXPECT_EQ(Frame().left, 151);
    EXPECT_EQ(Frame().top, 11);

    Drag({200, 100}, {-400, -400});
    EXPECT_EQ(Frame().left, 0);
    EXPECT_EQ(Frame().top, 0);

    RECT inner{};
    GetClientRect(Control(ControlId::Picture1), &inner);
    Drag({50, 50}, {900, 900});
    EXPECT_EQ(Frame().right, inner.right);
    EXPECT_EQ(Frame().bottom, inner.bottom);
}

TEST_F(CropFrameTest, ReleaseCopiesExactlyThePixelsUnderTheFrame) {
    Click(ControlId::CmdSaveDIB);
    Drag({200, 100}, {230, 105});
    ASSERT_EQ(Frame().left, 150);
    ASSERT_EQ(Frame().top, 29);

    EXPECT_EQ(LargestDifference(PreviewPixels(), Block(StillPixels(), 150, 29, 156, 188)), 0);
}

TEST_F(CropFrameTest, RightButtonAndPressesBesideTheFrameNeitherMoveNorCopy) {
    Click(ControlId::CmdSaveDIB);
    BitmapPixels before = PreviewPixels();
    HWND box = Control(ControlId::Picture1);
    SendMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 100));
    SendMessageW(box, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(260, 150));
    SendMessageW(box, WM_RBUTTONUP, 0, MAKELPARAM(260, 150));
    Drag({10, 10}, {200, 100});  // pressed beside the frame, released over it

    EXPECT_EQ(Frame().left, 120);
    EXPECT_EQ(Frame().top, 24);
    EXPECT_EQ(LargestDifference(PreviewPixels(), before), 0);
}

}  // namespace
}  // namespace vardolin::capture::test
