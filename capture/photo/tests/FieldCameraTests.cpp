// Webcams as they are in the field: busy when the window opens, slow to send
// their first frame, without property pages, describing their pictures with
// VIDEOINFOHEADER2, silent, or named like another camera. Each ends in the
// live picture and a stored photo in the same window, and the window's
// thread never waits on a camera meanwhile.
#include "capture/photo/tests/PhotoWindowTest.h"

#include "democam/testing/DemoCamDll.h"
#include "tests/DialogAnswer.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/CameraTexts.h"
#include "capture/camera/FormatListDialog.h"
#include "capture/camera/VideoDevices.h"

#include <uuids.h>

#include <iostream>
#include <optional>
#include <set>

namespace vardolin::capture::test {
namespace {

using FieldCameraTest = PhotoWindowTest;
using namespace std::chrono_literals;

BitmapPixels Inverted(BitmapPixels picture) {
    for (int y = 0; y < picture.height; ++y)
        for (uint8_t *p = picture.Row(y), *end = p + 3 * picture.width; p != end; ++p)
            *p = static_cast<uint8_t>(255 - *p);
    return picture;
}

TEST_F(FieldCameraTest, EachCameraEndsInTheLivePictureAndAStoredPhotoInTheSameWindow) {
    const std::wstring second = kSecondDemoCamera;
    const struct {
        const char* what;
        std::wstring switches;
        bool secondCamera;
        std::optional<std::wstring> remembered;
        std::set<std::wstring> seen;       // problems the preview must show on the way
        std::set<std::wstring> never;      // and must not
        std::chrono::milliseconds within;  // from opening the window to a live picture
    } cases[] = {
        {"busy for 5 s (a video call ends)", L"time=0;inuse=5000", false, std::nullopt, {kCameraInUseText}, {}, 12s},
        {"first frame after 4.5 s",
         L"time=0;firstframe=4500",
         false,
         std::nullopt,
         {kCameraStartingText},
         {kCameraLostText, kNoFrameYetText},
         8s},
        {"no property pages", L"time=0;nopages=both", false, std::nullopt, {}, {}, 5s},
        {"VIDEOINFOHEADER2 only", L"time=0;vih2", false, std::nullopt, {}, {}, 5s},
        {"the remembered camera is silent",
         L"time=0;" + second + L":time=9000;" + second + L":stalled",
         true,
         second,
         {},
         {},
         15s},
    };
    std::optional<democam::SecondCamera> secondCamera;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Window().Unload();
        if (c.secondCamera) secondCamera.emplace();
        RegDeleteTreeW(HKEY_CURRENT_USER, kCameraSettingKey);
        if (c.remembered) RememberCamera({*c.remembered, L""});
        cameraSwitches_.Set(c.switches);
        TakeLongestDispatch();

        auto opened = std::chrono::steady_clock::now();
        Window().Show();
        auto shown = std::chrono::steady_clock::now() - opened;
        std::set<std::wstring> seen;
        bool live = PumpUntil(
            [&] {
                seen.insert(Window().Camera()->Problem());
                return IsWindowEnabled(Control(ControlId::CmdSaveDIB)) != FALSE;
            },
            c.within);
        std::cout << c.what << ": window shown in "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(shown).count() << " ms, longest message "
                  << TakeLongestDispatch().count() / 1000 << " ms" << std::endl;
        ASSERT_TRUE(live) << "live after " << c.within.count() << " ms";
        for (const std::wstring& problem : c.seen) EXPECT_TRUE(seen.count(problem)) << "not seen";
        for (const std::wstring& problem : c.never) EXPECT_FALSE(seen.count(problem)) << "seen";
        EXPECT_TRUE(IsWindowEnabled(Control(ControlId::CmdFormatDlg)));
        EXPECT_TRUE(IsWindowEnabled(Control(ControlId::CmdSourceDlg)));

        AddEntries({L"Field"});
        TakePhotoAndCrop();
        EXPECT_LT(MeanDifference(StillPixels(), DemoScene(0ms)), 6.0) << "the whole picture of the right camera";
        Click(ControlId::Command1);
        EXPECT_TRUE(std::filesystem::exists(PicFolder() / L"Field.jpg"));
        RemovePhotoFiles();
        secondCamera.reset();
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kCameraSettingKey);
}

// A camera whose pin has no pages offers our own list of its formats; the
// format chosen there is the one the camera runs in afterwards.
TEST_F(FieldCameraTest, APagelessCamerasFormatIsChosenFromOurList) {
    Window().Unload();
    cameraSwitches_.Set(L"time=0;nopages=pin");
    ShowWindowWithCamera();
    const std::wstring wide = FormatListText({MEDIASUBTYPE_RGB24, 1280, 720});
    std::wstring selected;
    auto choose = [&](const std::wstring& entry) {
        DialogAnswer answer(kFormatPagesTitle, [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, format_list_control::kFormatList);
            LRESULT current = SendMessageW(list, LB_GETCURSEL, 0, 0);
            selected.assign(SendMessageW(list, LB_GETTEXTLEN, current, 0) + 1, L'\0');
            selected.resize(SendMessageW(list, LB_GETTEXT, current, reinterpret_cast<LPARAM>(selected.data())));
            SelectExactly(list, entry);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        Click(ControlId::CmdFormatDlg);
        EXPECT_TRUE(answer.Answered());
    };
    auto live = [&] { return Window().Camera()->Problem().empty(); };
    choose(wide);
    EXPECT_EQ(selected, FormatListText({MEDIASUBTYPE_RGB24, 320, 240}));  // what the window asked for
    ASSERT_TRUE(PumpUntil(live));
    choose(wide);
    EXPECT_EQ(selected, wide);
    ASSERT_TRUE(PumpUntil(live));
    Click(ControlId::CmdSaveDIB);
    EXPECT_LT(MeanDifference(StillPixels(), DemoScene(0ms)), 6.0);  // 16:9, cropped to 4:3
}

// Two cameras of the same name are listed apart, each can be chosen, and
// each shows its own picture; the choice is remembered by device path.
TEST_F(FieldCameraTest, TwoCamerasOfTheSameNameAreChosenApart) {
    democam::TwinCamera twin;
    ASSERT_TRUE(twin.Registered());
    RegDeleteTreeW(HKEY_CURRENT_USER, kCameraSettingKey);
    Window().Unload();
    ShowWindowWithCamera();
    const std::wstring first = kDemoCamera, other = first + L" (2)";
    for (const std::wstring& name : {other, first, other}) {
        SCOPED_TRACE(testing::Message() << (name == first ? "first" : "twin"));
        ASSERT_TRUE(ChooseOneOfTwoCameras(name));
        EXPECT_EQ(RememberedCamera().path, name == first ? democam::kDemoCameraPath : democam::kTwinDemoCameraPath);
        ASSERT_TRUE(PumpUntil([&] { return Window().Camera()->Problem().empty(); }));
        Click(ControlId::CmdSaveDIB);
        BitmapPixels expected = name == first ? DemoScene(0ms) : Inverted(DemoScene(0ms));
        EXPECT_LT(MeanDifference(StillPixels(), expected), 6.0);
        Click(ControlId::CmdSaveDIB);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kCameraSettingKey);
}

}  // namespace
}  // namespace vardolin::capture::test
