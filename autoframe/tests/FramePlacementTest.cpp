// Where the 156 x 188 crop frame goes on a face in a 320 x 240 still.
#include "autoframe/FramePlacement.h"

#include <gtest/gtest.h>

namespace vardolin::autoframe {
namespace {

constexpr Extent kFrame{156, 188};
constexpr Extent kStill{320, 240};

TEST(PlaceFrame, PutsTheCrownBelowATopMarginAndClampsAsADragDoes) {
    struct Case {
        const char* name;
        FaceBox face;
        Extent picture;
        FramePlacement expected;
    } cases[] = {
        // A 60 box: crown 54 above it, chin 6 below; the crown 19 below the
        // frame's top: 100 - 54 - 19 = 27. Centre 130: 130 - 78 = 52.
        {"middle", {100, 100, 60, 60}, kStill, {52, 27, false}},
        {"odd sizes round the head outwards", {101, 100, 61, 61}, kStill, {53, 26, false}},
        {"left edge", {0, 100, 60, 60}, kStill, {0, 27, false}},
        {"right edge", {270, 100, 50, 50}, kStill, {164, 36, false}},
        {"crown above the picture", {100, 40, 60, 60}, kStill, {52, 0, false}},
        {"bottom edge", {100, 200, 40, 40}, kStill, {42, 52, false}},
        // Head 76 + 84 + 9 = 169 = 188 - 19 fits; 77 + 85 + 9 = 171 does not.
        {"tallest head that fits", {100, 100, 84, 84}, kStill, {64, 5, false}},
        {"head one row too tall", {100, 100, 85, 85}, kStill, {64, 48, true}},
        // Head widths 156 and 165 against the frame's 156.
        {"widest head that fits", {50, 100, 104, 40}, kStill, {24, 45, false}},
        {"head too wide", {50, 100, 110, 40}, kStill, {27, 26, true}},
        // Centred both ways: (2 * 10 + 200 - 156) / 2 = 32, (2 * 5 + 200 - 188) / 2 = 11.
        {"much larger", {10, 5, 200, 200}, kStill, {32, 11, true}},
        {"larger and clamped", {180, 50, 200, 200}, kStill, {164, 52, true}},
        // A picture smaller than the frame: the drag's last clamp wins.
        {"picture smaller than the frame", {10, 10, 60, 60}, {100, 100}, {-56, -88, false}},
    };
    for (const Case& c : cases) {
        FramePlacement placed = PlaceFrame(c.face, kFrame, c.picture);
        EXPECT_EQ(placed.left, c.expected.left) << c.name;
        EXPECT_EQ(placed.top, c.expected.top) << c.name;
        EXPECT_EQ(placed.headLargerThanFrame, c.expected.headLargerThanFrame) << c.name;
    }
}

TEST(EstimateHead, ReachesFromCrownToChinAroundTheBox) {
    struct Case {
        FaceBox face;
        HeadBox expected;
    } cases[] = {
        {{100, 100, 60, 60}, {85, 46, 90, 120}},
        {{101, 100, 61, 61}, {85, 45, 92, 123}},  // 54.9, 6.1 and 91.5 rounded outwards
    };
    for (const Case& c : cases) {
        HeadBox head = EstimateHead(c.face);
        EXPECT_EQ(head.left, c.expected.left) << c.face.width;
        EXPECT_EQ(head.top, c.expected.top) << c.face.width;
        EXPECT_EQ(head.width, c.expected.width) << c.face.width;
        EXPECT_EQ(head.height, c.expected.height) << c.face.width;
    }
}

}  // namespace
}  // namespace vardolin::autoframe
