// Hands-free capture's timing, look by look.
#include "autoframe/StillFace.h"

#include <gtest/gtest.h>

#include <vector>

namespace vardolin::autoframe {
namespace {

const FaceBox kFace{100, 60, 100, 100};
FaceBox Shifted(int dx) { return {kFace.left + dx, kFace.top, kFace.width, kFace.height}; }

TEST(StillFace, CountsDownOnlyAfterOneFaceHoldsStill) {
    struct Case {
        const char* name;
        std::vector<std::vector<FaceBox>> looks;  // at 0, 250, 500, ... ms
        uint64_t firesAt;                         // 0: never within the looks
    } cases[] = {
        // Still from the first look at 0: 1000 still, then 1500 of countdown.
        {"still from the start", std::vector<std::vector<FaceBox>>(14, {kFace}), 2500},
        // The finder's jitter of a pixel or two is no movement.
        {"jitter",
         {{kFace},
          {Shifted(1)},
          {Shifted(-1)},
          {Shifted(2)},
          {kFace},
          {Shifted(1)},
          {kFace},
          {Shifted(-2)},
          {kFace},
          {Shifted(1)},
          {kFace},
          {kFace},
          {kFace},
          {kFace}},
         2500},
        // Moving 10 px a look until 1000, still from there: fires at 3500.
        {"moves then holds",
         {{Shifted(0)},
          {Shifted(10)},
          {Shifted(20)},
          {Shifted(30)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)},
          {Shifted(40)}},
         3500},
        // Creeping 3 % of the width a look is movement, however smoothed.
        {"creeps",
         {{Shifted(0)},
          {Shifted(3)},
          {Shifted(6)},
          {Shifted(9)},
          {Shifted(12)},
          {Shifted(15)},
          {Shifted(18)},
          {Shifted(21)},
          {Shifted(24)},
          {Shifted(27)},
          {Shifted(30)},
          {Shifted(33)},
          {Shifted(36)},
          {Shifted(39)},
          {Shifted(42)}},
         0},
        {"no face", std::vector<std::vector<FaceBox>>(14, std::vector<FaceBox>{}), 0},
        {"two faces", std::vector<std::vector<FaceBox>>(14, {kFace, {10, 10, 50, 50}}), 0},
        // Leaving during the countdown (at 2000) starts it over from 2250.
        {"leaves in the countdown",
         {{kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {},      {kFace}, {kFace},
          {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}, {kFace}},
         4750},
    };
    for (const Case& c : cases) {
        StillFace still;
        uint64_t fired = 0;
        int fires = 0;
        for (size_t i = 0; i < c.looks.size(); ++i) {
            uint64_t at = i * 250;
            still.Look(at, c.looks[i]);
            for (uint64_t now = at; now < at + 250; now += 50)
                if (still.Fire(now)) {
                    ++fires;
                    fired = now;
                }
        }
        EXPECT_EQ(fired, c.firesAt) << c.name;
        EXPECT_LE(fires, 1) << c.name;
    }
}

TEST(StillFace, ShowsThreeTwoOneAndFiresOnceUntilRearmed) {
    StillFace still;
    for (uint64_t at = 0; at <= 2500; at += 250) still.Look(at, std::vector<FaceBox>{kFace});
    struct {
        uint64_t now;
        int shown;
    } const expected[] = {{999, 0}, {1000, 3}, {1499, 3}, {1500, 2}, {2000, 1}, {2499, 1}};
    for (auto e : expected) EXPECT_EQ(still.Countdown(e.now), e.shown) << e.now;
    EXPECT_FALSE(still.Fire(2499));
    EXPECT_TRUE(still.Fire(2500));
    EXPECT_FALSE(still.Fire(9000));
    EXPECT_EQ(still.Countdown(2600), 0);
    still.Look(9000, std::vector<FaceBox>{kFace});
    EXPECT_FALSE(still.Fire(20000));
    still.Rearm();
    still.Look(20000, std::vector<FaceBox>{kFace});
    EXPECT_FALSE(still.Fire(22499));
    EXPECT_TRUE(still.Fire(22500));
}

}  // namespace
}  // namespace vardolin::autoframe
