// Hands-free capture's timing, look by look.
#include "autoframe/StillFace.h"

#include <gtest/gtest.h>

#include <vector>

namespace vardolin::autoframe {
namespace {

using Looks = std::vector<std::vector<FaceBox>>;  // one look every 250 ms
constexpr int kGone = 1000;                       // a shift that stands for no face

const FaceBox kFace{100, 60, 100, 100};

// One face per look, kFace moved right by each shift.
Looks Shifts(std::initializer_list<int> shifts) {
    Looks looks;
    for (int dx : shifts)
        looks.push_back(dx == kGone ? std::vector<FaceBox>{} : std::vector{FaceBox{100 + dx, 60, 100, 100}});
    return looks;
}

Looks Repeat(std::vector<FaceBox> faces, size_t times) { return Looks(times, faces); }

TEST(StillFace, FiresOnlyAfterOneFaceHoldsStillAndTheCountdownRunsOut) {
    struct Case {
        const char* name;
        Looks looks;
        uint64_t firesAt;  // 0: never
    } cases[] = {
        // Still from the look at 0: 1000 still, then 1500 of countdown.
        {"still from the start", Repeat({kFace}, 14), 2500},
        // The finder's jitter of a pixel or two is no movement.
        {"jitter", Shifts({0, 1, -1, 2, 0, 1, 0, -2, 0, 1, 0, 0, 0, 0}), 2500},
        // Moving 10 px a look until 1000, still from there.
        {"moves then holds", Shifts({0, 10, 20, 30, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40}), 3500},
        // Creeping 3 % of the width a look is movement, however smoothed.
        {"creeps", Shifts({0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42}), 0},
        {"no face", Repeat({}, 14), 0},
        {"two faces", Repeat({kFace, {10, 10, 50, 50}}, 14), 0},
        // Gone at 2000, in the countdown: it starts over from 2250.
        {"leaves in the countdown", Shifts({0, 0, 0, 0, 0, 0, 0, 0, kGone, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 4750},
    };
    for (const Case& c : cases) {
        StillFace still;
        uint64_t fired = 0;
        int fires = 0;
        for (size_t i = 0; i < c.looks.size(); ++i) {
            still.Look(i * 250, c.looks[i]);
            for (uint64_t now = i * 250; now < i * 250 + 250; now += 50)
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
