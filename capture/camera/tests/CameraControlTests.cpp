// Our video-capture control over the demo camera, through the real
// DirectShow path: the five members, the frames in every format the camera
// offers, and the failures real cameras have.
#include "capture/CameraControl.h"
#include "win/ComponentError.h"
#include "tests/DemoCamera.h"
#include "tests/DialogAnswer.h"
#include "win/Win32Handles.h"
#include "tests/PhotoCompare.h"
#include "win/Settings.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/CameraControlObject.h"
#include "capture/camera/MediaTypes.h"
#include "capture/camera/CameraGraph.h"
#include "capture/camera/FrameSink.h"
#include "win/ComAdopt.h"
#include "capture/camera/DirectShowCamera.h"
#include "capture/camera/VideoDevices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace vardolin::capture::test {
namespace {

using Microsoft::WRL::ComPtr;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

fs::path ScratchFile(const wchar_t* name) { return fs::temp_directory_path() / name; }

TEST(CameraControlObject, AnswersTheFiveMembersByNameWithTheControlsDispatchIds) {
    ComPtr<IDispatch> control = CreateCameraControlObject(CreateDirectShowCamera(), nullptr);
    const std::pair<const wchar_t*, DISPID> members[] = {{L"FormatDialogAvailable", 0x68030001},
                                                         {L"SourceDialogAvailable", 0x68030000},
                                                         {L"ShowFormatDialog", 0x60030029},
                                                         {L"ShowSourceDialog", 0x6003002A},
                                                         {L"savefRAMEbitmap", 0x60030030}};
    for (auto [name, expected] : members) {
        DISPID id = 0;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << static_cast<const void*>(name);
        EXPECT_EQ(id, expected);
    }
}

// The control in a window of its own, over the system's cameras.
class CameraControlTest : public ::testing::Test {
protected:
    void Open() {
        parent_ = CreateWindowExW(0, L"STATIC", L"preview", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 340, 250,
                                  nullptr, nullptr, nullptr, nullptr);
        control_ = CreateChosenCameraControl(parent_, RECT{8, 8, 8 + 312, 8 + 224}, 1007);
    }
    ~CameraControlTest() override {
        control_.reset();
        DestroyWindow(parent_);
    }
    CameraAutomation Camera() { return CameraAutomation(control_->Automation()); }
    bool Live() { return control_->Problem().empty(); }

    ComApartment com_;
    CameraSwitches switches_{L"time=5000"};
    HWND parent_ = nullptr;
    std::unique_ptr<CameraControlWindow> control_;
};

TEST_F(CameraControlTest, SaveFrameBitmapReplacesTheFileWithTheWholePictureAt320x240) {
    Open();
    ASSERT_TRUE(PumpUntil([&] { return Live(); })) << control_->Problem();
    EXPECT_TRUE(Camera().FormatDialogAvailable());
    EXPECT_TRUE(Camera().SourceDialogAvailable());
    fs::path file = ScratchFile(L"camera-frame.bmp");
    { std::ofstream(file) << "an older file"; }
    ASSERT_TRUE(PumpUntil([&] {
        try {
            Camera().SaveFrameBitmap(file.wstring());
            return true;
        } catch (const ComponentError&) {
            return false;  // no frame yet
        }
    }));
    UniqueBitmap loaded(static_cast<HBITMAP>(
        LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(loaded);
    BitmapPixels frame = ReadBitmapPixels(loaded.get());
    EXPECT_LT(MeanDifference(frame, DemoScene(5000ms)), 6.0);
    EXPECT_FALSE(fs::exists(file.wstring() + L".new"));
    fs::remove(file);

    fs::path unwritable = ScratchFile(L"no-such-folder") / L"frame.bmp";
    try {
        Camera().SaveFrameBitmap(unwritable.wstring());
        ADD_FAILURE() << "no error raised";
    } catch (const ComponentError& e) {
        EXPECT_NE(WideDescription(e).find(unwritable.wstring()), std::wstring::npos);
    }
    EXPECT_FALSE(fs::exists(unwritable.parent_path()));
}

// The source dialog offers the one camera there is and its options (the
// framing, the checks, hands-free capture): each box shows what is stored (off
// when nothing is), OK stores the box, Cancel keeps what was stored. Tab
// reaches each box from the control before it.
TEST_F(CameraControlTest, TheSourceDialogShowsItsOptionsAndStoresThemOnOkOnly) {
    Open();
    ASSERT_TRUE(PumpUntil([&] { return Live(); }));
    const struct {
        WORD box, before;  // the control, and the one Tab leaves for it
        const wchar_t* value;
        bool (*enabled)();
        void (*remember)(bool);
    } options[] = {
        {chooser_control::kAutoFrame, chooser_control::kCameraSettings, kAutoFrameValue, AutoFrameEnabled,
         RememberAutoFrame},
        {chooser_control::kPhotoChecks, chooser_control::kAutoFrame, kPhotoChecksValue, PhotoChecksEnabled,
         RememberPhotoChecks},
        {chooser_control::kHandsFree, chooser_control::kPhotoChecks, kHandsFreeValue, HandsFreeEnabled,
         RememberHandsFree},
    };
    const struct {
        std::optional<bool> stored;  // nothing: never chosen
        bool toggle;
        int button;
        bool after;
    } cases[] = {
        {std::nullopt, false, IDOK, false}, {std::nullopt, true, IDOK, true}, {true, false, IDOK, true},
        {true, true, IDOK, false},          {false, true, IDCANCEL, false},   {true, true, IDCANCEL, true},
    };
    for (auto option : options)
        for (auto c : cases) {
            SCOPED_TRACE(testing::Message() << option.box << ": " << c.stored.value_or(-1) << c.toggle << c.button);
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, option.value);
            if (c.stored) option.remember(*c.stored);
            DialogAnswer answer(kSourceDialogTitle, [&](HWND dialog) {
                HWND box = GetDlgItem(dialog, option.box);
                EXPECT_EQ(SendDlgItemMessageW(dialog, chooser_control::kCameraList, CB_GETCOUNT, 0, 0), 1);
                EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, option.before), FALSE), box);
                EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), c.stored.value_or(false) ? BST_CHECKED : BST_UNCHECKED);
                if (c.toggle) SendMessageW(box, BM_CLICK, 0, 0);
                SendMessageW(dialog, WM_COMMAND, c.button, 0);
            });
            Camera().ShowSourceDialog();
            EXPECT_TRUE(answer.Answered());
            EXPECT_EQ(option.enabled(), c.after);
        }
    for (auto option : options) RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, option.value);
}

TEST_F(CameraControlTest, ThePreviewShowsTheLivePictureFromTheTopLeftCorner) {
    Open();
    BitmapPixels scene = DemoScene(5000ms);
    auto shows = [&](POINT p) {
        WindowDc dc(control_->Window());
        const uint8_t* e = scene.Row(p.y) + 3 * p.x;
        COLORREF c = GetPixel(dc.get(), p.x, p.y);
        return std::abs(GetRValue(c) - e[2]) + std::abs(GetGValue(c) - e[1]) + std::abs(GetBValue(c) - e[0]) < 24;
    };
    // Backdrop points away from the figure and the clock.
    for (POINT p : {POINT{300, 12}, POINT{305, 220}, POINT{4, 200}})
        EXPECT_TRUE(PumpUntil([&] { return shows(p); }, 5s)) << p.x << "," << p.y;
}

// A camera that cannot start says why; the dialogs stay offered, so that
// another camera or format can be chosen.
TEST_F(CameraControlTest, ACameraThatCannotStartSaysWhyAndStillOffersTheDialogs) {
    const struct {
        const wchar_t* switches;
        const wchar_t* problem;
    } cases[] = {{L"inuse", L"摄像头正被其他程序使用"}, {L"Vardolin Demo Camera:inuse", L"摄像头正被其他程序使用"}};
    for (auto c : cases) {
        switches_.Set(c.switches);
        Open();
        EXPECT_TRUE(PumpUntil([&] { return control_->Problem() == c.problem; })) << control_->Problem();
        EXPECT_TRUE(Camera().FormatDialogAvailable());
        EXPECT_TRUE(Camera().SourceDialogAvailable());
        EXPECT_THROW(Camera().SaveFrameBitmap(ScratchFile(L"none.bmp").wstring()), ComponentError);
        control_.reset();
        DestroyWindow(parent_);
    }
}

// Every object of the camera's DLL is gone once the control is closed, also
// after its automation object was handed out: nothing keeps the camera open.
TEST_F(CameraControlTest, AClosedControlLeavesTheCameraFree) {
    Open();
    ASSERT_TRUE(PumpUntil([&] { return Live(); }));
    EXPECT_TRUE(Camera().FormatDialogAvailable());
    control_.reset();
    // The camera's thread lets go of it in the background, at once; with the
    // last of its objects the system may unload the camera's DLL.
    auto cameraFree = [] {
        HMODULE camera = nullptr;  // held while asked, so it cannot go meanwhile
        if (!GetModuleHandleExW(0, L"vardolin-democam.dll", &camera)) return true;
        auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(camera, "DllCanUnloadNow")));
        bool free = canUnloadNow && canUnloadNow() == S_OK;
        FreeLibrary(camera);
        return free;
    };
    EXPECT_TRUE(PumpUntil(cameraFree, 3s));
}

// Frames straight from a graph of the demo camera, in each format it can be
// asked for: always the whole picture, scaled to 320 x 240, right way up. The
// camera's pin is connected straight to our sink, in the format block the
// camera describes its pictures with (VIDEOINFOHEADER2 too): no converter.
TEST(DemoCameraGraph, EveryFormatGivesTheWholePictureRightWayUp) {
    ComApartment com;
    const struct {
        const wchar_t* switches;
        bool choosePreviewFormat;
        int width, height;  // set on the pin before connecting; 0: leave as it is
        GUID block = FORMAT_VideoInfo;
    } cases[] = {
        {L"time=5000", true, 0, 0},        // the preview format we ask for: 320 x 240
        {L"time=5000", false, 0, 0},       // the camera's default: 640 x 480
        {L"time=5000", false, 1280, 720},  // 16:9, centre-cropped
        {L"time=5000;formats=yuy2", true, 0, 0},
        {L"time=5000;formats=nv12", false, 1280, 720},
        {L"time=5000;vih2", true, 0, 0, FORMAT_VideoInfo2},
        {L"time=5000;vih2;formats=yuy2", false, 0, 0, FORMAT_VideoInfo2},
    };
    BitmapPixels expected = DemoScene(5000ms), upsideDown = expected;
    for (int y = 0; y < expected.height; ++y)
        std::copy_n(expected.Row(expected.height - 1 - y), 3 * expected.width, upsideDown.Row(y));
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(c.switches) << " " << c.width << "x" << c.height);
        CameraSwitches switches(c.switches);
        std::vector<VideoDevice> devices = VideoInputDevices();
        std::optional<size_t> demo = FindRemembered(devices, {kDemoCamera, L""});
        ASSERT_TRUE(demo);
        ComPtr<IBaseFilter> device = BindDevice(devices[*demo]);
        ASSERT_TRUE(device);
        if (c.width) {
            ComPtr<IAMStreamConfig> config;
            ASSERT_EQ(CapturePinOf(device.Get()).As(&config), S_OK);
            AM_MEDIA_TYPE* received = nullptr;
            ASSERT_EQ(config->GetFormat(&received), S_OK);
            OwnedMediaType type(received);
            auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
            info->bmiHeader.biWidth = c.width;
            info->bmiHeader.biHeight = c.height;
            info->bmiHeader.biSizeImage = 0;
            EXPECT_EQ(config->SetFormat(type.get()), S_OK);
        }
        CameraProblem problem{};
        auto graph = CameraGraph::Start(device, c.choosePreviewFormat, problem);
        ASSERT_TRUE(graph) << static_cast<int>(problem);
        BitmapPixels frame;
        ASSERT_TRUE(PumpUntil([&] { return graph->Tap()->LatestFrame(frame); }));
        EXPECT_LT(MeanDifference(frame, expected), 6.0);
        EXPECT_GT(MeanDifference(frame, upsideDown), 12.0);

        ComPtr<IPin> input;
        ASSERT_EQ(CapturePinOf(device.Get())->ConnectedTo(&input), S_OK);
        PIN_INFO pin{};
        ASSERT_EQ(input->QueryPinInfo(&pin), S_OK);
        ComPtr<IBaseFilter> sink = AdoptReference(pin.pFilter);
        CLSID sinkClass{};
        EXPECT_EQ(sink->GetClassID(&sinkClass), S_OK);
        EXPECT_EQ(sinkClass, kFrameSinkClassId);
        MediaType connected;
        ASSERT_EQ(input->ConnectionMediaType(&connected), S_OK);
        EXPECT_EQ(connected.formattype, c.block);
    }
}

}  // namespace
}  // namespace vardolin::capture::test
