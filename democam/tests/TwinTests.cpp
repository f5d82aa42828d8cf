// Two cameras of the same friendly name, as two USB cameras of one model
// are: the twin lists after the first camera with its own device path and
// moniker, films its own (inverted) picture, and switches reach both by name
// or one by device path.
#include "democam/tests/CaptureGraph.h"
#include "democam/testing/DemoCamDll.h"
#include "democam/DemoScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vardolin::democam::camtest {
namespace {

constexpr long long kFrozenMs = 45296789;

std::optional<Frame> FirstFrame(ComPtr<IBaseFilter> camera) {
    CaptureGraph graph(std::move(camera), MEDIASUBTYPE_RGB24);
    if (FAILED(graph.Built()) || FAILED(graph.Run())) return std::nullopt;
    return graph.NextFrame();
}

TEST(DemoCameraTwin, SameNameOwnPathOwnPicture) {
    ComScope com;
    TwinCamera twin;
    ASSERT_TRUE(twin.Registered());
    CameraSwitches switches(L"time=45296789");

    std::vector<VideoInputDevice> devices = VideoInputDevices();
    std::vector<const VideoInputDevice*> named;
    for (const VideoInputDevice& device : devices)
        if (device.friendlyName == kFirstCamera) named.push_back(&device);
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0]->devicePath, kDemoCameraPath);
    EXPECT_EQ(named[1]->devicePath, kTwinDemoCameraPath);
    EXPECT_NE(named[0]->displayName, named[1]->displayName);

    // Each films its own picture: the scene, and the scene inverted.
    ScenePicture scene;
    DrawDemoScene(scene, 640, 480, std::chrono::milliseconds(kFrozenMs));
    ScenePicture inverted = scene;
    InvertPicture(inverted);
    struct Case {
        const wchar_t* path;
        const ScenePicture& picture;
    };
    for (const Case& c : {Case{kDemoCameraPath, scene}, Case{kTwinDemoCameraPath, inverted}}) {
        SCOPED_TRACE(std::string(c.path, c.path + wcslen(c.path)));
        std::optional<Frame> frame = FirstFrame(OpenVideoInputDevice(c.path));
        ASSERT_TRUE(frame);
        ASSERT_EQ(frame->bytes.size(), c.picture.bits.size());
        // A bottom-up RGB24 sample: its first row is the picture's last.
        EXPECT_TRUE(std::equal(c.picture.Row(479), c.picture.Row(479) + c.picture.stride, frame->bytes.begin()));
        EXPECT_TRUE(std::equal(c.picture.Row(0), c.picture.Row(0) + c.picture.stride,
                               frame->bytes.end() - static_cast<ptrdiff_t>(c.picture.stride)));
    }

    // A switch addressed by the shared name reaches both; by a device path, one.
    struct Addressed {
        std::wstring switches;
        bool firstBusy, twinBusy;
    };
    const Addressed cases[] = {
        {L"Vardolin Demo Camera:inuse", true, true},
        {std::wstring(kDemoCameraPath) + L":inuse", true, false},
        {std::wstring(kTwinDemoCameraPath) + L":inuse", false, true},
    };
    for (const Addressed& c : cases) {
        SCOPED_TRACE(std::string(c.switches.begin(), c.switches.end()));
        switches.Set(c.switches);
        const std::pair<const wchar_t*, bool> cameras[] = {{kDemoCameraPath, c.firstBusy},
                                                           {kTwinDemoCameraPath, c.twinBusy}};
        for (auto [path, busy] : cameras) {
            ComPtr<IBaseFilter> camera = OpenVideoInputDevice(path);
            ASSERT_TRUE(camera);
            EXPECT_EQ(camera->Pause(), busy ? HRESULT_FROM_WIN32(ERROR_BUSY) : S_OK);
            camera->Stop();
        }
    }
}

}  // namespace
}  // namespace vardolin::democam::camtest
