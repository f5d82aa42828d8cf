// Where the 156 x 188 crop frame goes on a face in a 320 x 240 still.
#include "FramePlacement.h"

#include <gtest/gtest.h>

namespace vardolin::autoframe {
namespace {

constexpr Extent kFrame{156, 188};
constexpr Extent kStill{320, 240};

TEST(PlaceFrame, CentresTheFaceBelowATopMarginAndClampsAsADragDoes) {
    struct Case {
        const char* name;
        FaceBox face;
        Extent picture;
        FramePlacement expected;
    } cases[] = {
        // Centre 140: 140 - 78 = 62; a tenth of 188 is 19 above the face.
        {"middle", {100, 40, 80, 80}, kStill, {62, 21, false}},
        {"odd widths round down", {101, 40, 81, 81}, kStill, {63, 21, false}},
        {"left edge", {0, 40, 60, 60}, kStill, {0, 21, false}},
        {"right edge", {270, 40, 50, 50}, kStill, {164, 21, false}},
        {"top edge", {100, 5, 80, 80}, kStill, {62, 0, false}},
        {"bottom edge", {100, 170, 70, 70}, kStill, {57, 52, false}},
        // 19 + 175 would pass the frame's bottom: the margin shrinks to 13.
        {"tall face keeps its chin", {100, 40, 150, 175}, kStill, {97, 27, false}},
        {"frame-sized face", {50, 30, 156, 188}, kStill, {50, 30, false}},
        // Centred both ways: (2 * 10 + 200 - 156) / 2 = 32, (2 * 5 + 200 - 188) / 2 = 11.
        {"wider than the frame", {10, 5, 200, 200}, kStill, {32, 11, true}},
        {"taller than the frame", {100, 20, 100, 190}, kStill, {72, 21, true}},
        {"larger and clamped", {180, 50, 200, 200}, kStill, {164, 52, true}},
        // A picture smaller than the frame: the drag's last clamp wins.
        {"picture smaller than the frame", {10, 10, 60, 60}, {100, 100}, {-56, -88, false}},
    };
    for (const Case& c : cases) {
        FramePlacement placed = PlaceFrame(c.face, kFrame, c.picture);
        EXPECT_EQ(placed.left, c.expected.left) << c.name;
        EXPECT_EQ(placed.top, c.expected.top) << c.name;
        EXPECT_EQ(placed.faceLargerThanFrame, c.expected.faceLargerThanFrame) << c.name;
    }
}

}  // namespace
}  // namespace vardolin::autoframe
