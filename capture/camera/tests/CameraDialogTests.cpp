// The camera dialogs and how cameras are told apart: the names the source
// dialog lists, the remembered camera found again, our own format list, and
// the source dialog's buttons. The dialogs are answered from their modal loop.
#include "democam/testing/DemoCamDll.h"
#include "tests/DemoCamera.h"
#include "tests/DialogAnswer.h"
#include "win/Environment.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/FormatListDialog.h"
#include "capture/camera/VideoDevices.h"

#include <gtest/gtest.h>

#include <dshow.h>

#include <optional>
#include <vector>

namespace vardolin::capture::test {
namespace {

TEST(CameraIdentity, DuplicateNamesAreNumberedInTheSystemsOrder) {
    const struct {
        std::vector<std::wstring> names, shown;
    } cases[] = {
        {{}, {}},
        {{L"USB Camera", L"Integrated", L"USB Camera", L"USB Camera"},
         {L"USB Camera", L"Integrated", L"USB Camera (2)", L"USB Camera (3)"}},
        // A camera really called like a numbered duplicate keeps its name.
        {{L"A", L"A", L"A (2)"}, {L"A", L"A (3)", L"A (2)"}},
        {{L"A (2)", L"A", L"A"}, {L"A (2)", L"A", L"A (3)"}},
    };
    for (const auto& c : cases) {
        std::vector<VideoDevice> devices;
        for (const std::wstring& name : c.names) devices.push_back({name, L"path of " + name, nullptr});
        EXPECT_EQ(ChooserNames(devices), c.shown) << c.names.size();
    }
}

TEST(CameraIdentity, TheRememberedCameraIsFoundByPathThenByName) {
    const std::vector<VideoDevice> devices = {
        {L"USB Camera", L"usb#1", nullptr}, {L"Integrated", L"pci#2", nullptr}, {L"USB Camera", L"usb#3", nullptr}};
    const struct {
        CameraChoice remembered;
        std::optional<size_t> found;
    } cases[] = {
        {{L"USB Camera", L"usb#3"}, 2}, {{L"Renamed", L"pci#2"}, 1},          {{L"USB Camera", L"usb#9"}, 0},
        {{L"Integrated", L""}, 1},      {{L"Other", L"usb#9"}, std::nullopt}, {{L"", L""}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FindRemembered(devices, c.remembered), c.found) << c.remembered.path;
}

// The camera lost while it ran comes first, then the remembered one, then the
// others in the system's order; the silent ones go last, in that order too.
TEST(CameraIdentity, CamerasAreTriedLostFirstRememberedNextSilentLast) {
    const std::vector<VideoDevice> devices = {
        {L"A", L"a", nullptr}, {L"B", L"b", nullptr}, {L"C", L"c", nullptr}, {L"D", L"d", nullptr}};
    const struct {
        CameraChoice remembered;
        std::wstring lost;
        std::vector<std::wstring> silent;
        std::vector<size_t> order;
    } cases[] = {
        {{}, L"", {}, {0, 1, 2, 3}},
        {{L"C", L""}, L"", {}, {2, 0, 1, 3}},
        {{L"", L"c"}, L"d", {}, {3, 2, 0, 1}},
        {{L"", L"c"}, L"", {L"c", L"a"}, {1, 3, 0, 2}},
        {{L"", L"b"}, L"b", {L"b"}, {0, 2, 3, 1}},  // silent outranks lost and remembered
        {{L"", L"gone"}, L"gone", {L"gone"}, {0, 1, 2, 3}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TryOrder(devices, c.remembered, c.lost, c.silent), c.order) << c.remembered.path << " " << c.lost;
}

// Each registered camera has a path of its own (software cameras: the
// moniker's display name) that is stored beside its name and finds it again;
// a path of any length is kept whole.
TEST(CameraIdentity, EachCameraIsStoredAndFoundAgainByItsPath) {
    ComApartment com;
    democam::SecondCamera second;
    ASSERT_TRUE(second.Registered());
    std::vector<VideoDevice> devices = VideoInputDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_NE(devices[0].path, devices[1].path);
    for (size_t i = 0; i < devices.size(); ++i) {
        RememberCamera({devices[i].name, devices[i].path});
        EXPECT_EQ(RememberedCamera().name, devices[i].name);
        EXPECT_EQ(FindRemembered(devices, {L"", RememberedCamera().path}), i);
    }
    const std::wstring longPath = L"\\\\?\\usb#vid_0c45&pid_6366#" + std::wstring(400, L'7');
    RememberCamera({L"USB Camera", longPath});
    EXPECT_EQ(RememberedCamera().path, longPath);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kCameraNameValue);
}

TEST(FormatList, SubtypesAreNamedByPixelFormat) {
    auto fourCc = [](DWORD code) {
        GUID subtype = MEDIASUBTYPE_YUY2;
        subtype.Data1 = code;
        return subtype;
    };
    const std::pair<GUID, const wchar_t*> cases[] = {
        {MEDIASUBTYPE_RGB24, L"RGB24"},
        {fourCc(MAKEFOURCC('N', 'V', '1', '2')), L"NV12"},
        {fourCc(MAKEFOURCC('Y', '8', ' ', ' ')), L"Y8"},
        {fourCc(3), L"{00000003-0000-0010-8000-00AA00389B71}"},
        {MEDIASUBTYPE_RGB8, L"{E436EB7A-524F-11CE-9F53-0020AF0BA770}"},
    };
    for (auto [subtype, name] : cases) EXPECT_EQ(SubtypeName(subtype), name);
}

// The list shows every format in the camera's order with the current one
// selected, and answers the index the user ends it with.
TEST(FormatList, AnswersTheEntryChosen) {
    const OfferedFormat formats[] = {
        {MEDIASUBTYPE_YUY2, 640, 480}, {MEDIASUBTYPE_MJPG, 1280, 720}, {MEDIASUBTYPE_RGB24, 320, 240}};
    enum class End { Ok, DoubleClick, Cancel };
    const struct {
        std::optional<size_t> current;
        std::optional<int> pick;  // the entry clicked; nothing: none
        End end;
        std::optional<size_t> chosen;
    } cases[] = {
        {0, 2, End::Ok, 2},
        {1, std::nullopt, End::Ok, 1},
        {std::nullopt, 1, End::DoubleClick, 1},
        {0, 2, End::Cancel, std::nullopt},
        {std::nullopt, std::nullopt, End::Ok, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.current.value_or(9) << c.pick.value_or(9) << static_cast<int>(c.end));
        std::vector<std::wstring> listed;
        LRESULT selected = LB_ERR;
        DialogAnswer answer(kFormatPagesTitle, [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, format_list_control::kFormatList);
            for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
                wchar_t text[64] = {};
                SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                listed.push_back(text);
            }
            selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
            if (c.pick) SendMessageW(list, LB_SETCURSEL, *c.pick, 0);
            if (c.end == End::DoubleClick)
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(format_list_control::kFormatList, LBN_DBLCLK),
                             reinterpret_cast<LPARAM>(list));
            else SendMessageW(dialog, WM_COMMAND, c.end == End::Ok ? IDOK : IDCANCEL, 0);
        });
        EXPECT_EQ(ChooseFormat(nullptr, formats, c.current), c.chosen);
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(listed, (std::vector<std::wstring>{L"640 x 480  YUY2", L"1280 x 720  MJPG", L"320 x 240  RGB24"}));
        EXPECT_EQ(selected, c.current ? static_cast<LRESULT>(*c.current) : LB_ERR);
    }
    EXPECT_EQ(ChooseFormat(nullptr, {}, std::nullopt), std::nullopt) << "nothing to choose from: no dialog";
}

// The settings button is there only for a selected camera with pages of its
// own, and the photo sizes only as far as its detail goes (its largest
// picture named otherwise), following the selection; the privacy button
// opens the system's camera privacy page whatever is selected.
TEST(SourceDialog, OffersSettingsPhotoSizesAndPrivacyPageAsTheSelectedCameraHasThem) {
    const std::vector<std::wstring> names = {L"USB Camera", L"Phone", L"USB Camera (2)"};
    const bool hasPages[] = {true, false, true};
    const CameraDetail details[] = {{3, 1920, 1080}, {1, 320, 240}, {2, 640, 480}};
    std::vector<std::wstring> sizes;  // per selection: "+" for each larger size offered, then the note
    Environment& environment = ThreadEnvironment();
    Environment::WebPageOpener saved = environment.webPageOpener;
    std::vector<std::wstring> opened;
    environment.webPageOpener = [&](const std::wstring& address) { opened.push_back(address); };
    std::vector<size_t> settingsShown;
    std::vector<bool> enabled;
    std::pair<std::wstring, bool> handsFree;
    DialogAnswer answer(kSourceDialogTitle, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, chooser_control::kCameraList);
        HWND settings = GetDlgItem(dialog, chooser_control::kCameraSettings);
        auto recordSizes = [&] {
            std::wstring offered;
            for (int scale = 2; scale <= 3; ++scale)
                offered += IsWindowEnabled(GetDlgItem(dialog, chooser_control::kPhotoSize + scale - 1)) ? L"+" : L"-";
            wchar_t note[100] = {};
            GetDlgItemTextW(dialog, chooser_control::kPhotoSizeNote, note, 100);
            sizes.push_back(offered + note);
        };
        enabled.push_back(IsWindowEnabled(settings));
        recordSizes();
        for (int selection : {2, 1, 0}) {
            SendMessageW(list, CB_SETCURSEL, selection, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(chooser_control::kCameraList, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            enabled.push_back(IsWindowEnabled(settings));
            recordSizes();
        }
        SendDlgItemMessageW(dialog, chooser_control::kPhotoSize + 2, BM_CLICK, 0, 0);
        wchar_t caption[40] = {};
        GetDlgItemTextW(dialog, chooser_control::kHandsFree, caption, 40);
        handsFree = {caption, IsDlgButtonChecked(dialog, chooser_control::kHandsFree) == BST_CHECKED};
        SendDlgItemMessageW(dialog, chooser_control::kHandsFree, BM_CLICK, 0, 0);
        SendMessageW(settings, BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(dialog, chooser_control::kPrivacySettings), BM_CLICK, 0, 0);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    std::optional<SourceChoice> chosen = ChooseSource(
        nullptr, names, {1, false}, [&](size_t index) { return hasPages[index]; },
        [&](HWND, size_t index) { settingsShown.push_back(index); }, [&](size_t index) { return details[index]; });
    environment.webPageOpener = saved;
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(settingsShown, std::vector<size_t>{0});
    EXPECT_EQ(opened, std::vector<std::wstring>{kCameraPrivacyPage});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->camera, 0u);
    EXPECT_EQ(chosen->photoScale, 3);
    EXPECT_EQ(handsFree, std::make_pair(std::wstring(L"人脸稳定时自动拍照"), false));
    EXPECT_TRUE(chosen->handsFree);
    const std::wstring phone = L"--此摄像头最大 320 x 240，无法提供更大的照片";
    EXPECT_EQ(sizes, (std::vector<std::wstring>{phone, L"+-此摄像头最大 640 x 480，无法提供更大的照片", phone, L"++"}));
    EXPECT_EQ(ChooseSource(nullptr, {}, {0, false}, nullptr, nullptr), std::nullopt) << "no camera: no dialog";
}

}  // namespace
}  // namespace vardolin::capture::test
