// Hands-free capture through the window: the demo camera's photograph (a
// face) sweeping across the frame and then holding still, and its drawn
// portrait (no face the finder takes).
#include "capture/GetPICTexts.h"
#include "capture/photo/tests/PhotoWindowTest.h"
#include "win/Settings.h"

namespace vardolin::capture::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class HandsFreeTest : public PhotoWindowTest {
protected:
    ~HandsFreeTest() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kHandsFreeValue); }

    bool StillShown() { return Text(ControlId::CmdSaveDIB) == kRetakeCaption; }
    // How long after now a still comes by itself; nothing within 4 s, by
    // when it is due.
    std::optional<Clock::duration> StillAfter() {
        Clock::time_point from = Clock::now();
        if (!PumpUntil([&] { return StillShown(); }, 4s)) return std::nullopt;
        return Clock::now() - from;
    }
};

// While the face moves nothing is taken; once it settles the still comes
// after 1 s of stillness and the 3-2-1 countdown, once, and again only after
// 重新照. Without the option, a name or a face nothing is ever taken.
TEST_F(HandsFreeTest, AFaceThatSettlesIsPhotographedOnceAfterTheCountdown) {
    const struct {
        const wchar_t* scene;
        bool option;
        bool name;
        bool fires;
    } cases[] = {
        {L"photo", true, true, true},
        {L"portrait", true, true, false},
        {L"photo", false, true, false},
        {L"photo", true, false, false},
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << " option " << c.option << " name " << c.name);
        std::wstring scene = std::wstring(L"time=5000;scene=") + c.scene;
        // Only where it would fire does the face move first.
        cameraSwitches_.Set(c.fires ? scene + L";moving" : scene);
        Window().Unload();
        RememberHandsFree(c.option);
        ShowWindowWithCamera();
        SendMessageW(Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
        if (c.name) AddEntries({L"宇航员"});
        if (c.fires) {
            PumpFor(3s);
            EXPECT_FALSE(StillShown()) << "taken while the face moved";
        }

        cameraSwitches_.Set(scene);
        std::optional<Clock::duration> after = StillAfter();
        ASSERT_EQ(after.has_value(), c.fires);
        if (!c.fires) continue;
        EXPECT_GE(*after, 2200ms);
        EXPECT_LE(*after, 4000ms);
        PumpFor(500ms);
        EXPECT_TRUE(StillShown());

        Click(ControlId::CmdSaveDIB);  // 重新照: armed again for the same name
        EXPECT_FALSE(StillShown());
        EXPECT_TRUE(StillAfter().has_value());
    }
}

}  // namespace
}  // namespace vardolin::capture::test
