// The failures the test switches stand for, seen through the graph as a
// capture program sees a real camera fail.
#include "CaptureGraph.h"

#include <gtest/gtest.h>
#include <evcode.h>
#include <uuids.h>

namespace vardolin::democam::camtest {
namespace {

using namespace std::chrono_literals;

constexpr HRESULT kBusy = HRESULT_FROM_WIN32(ERROR_BUSY);
constexpr HRESULT kGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

// Whether the first camera starts under a switch. The filter itself
// refuses with the HRESULT a USB camera's driver gives; a graph reports the
// failure from Run (Windows) or, once the start has completed, from
// GetState (Wine runs graphs asynchronously and returns E_FAIL there).
TEST(DemoCameraSwitches, StartFailsWhileInUseOrUnplugged) {
    struct Case {
        const wchar_t* switches;
        HRESULT pause;
    };
    const Case cases[] = {
        {L"inuse", kBusy},
        {L"Vardolin Demo Camera:inuse", kBusy},
        {L"Vardolin Demo Camera 2:inuse", S_OK},  // another camera's switch
        {L"unplugged", kGone},
        {L"time=5;inuse", kBusy},
        {L"formats=rgb24;unplugged", kGone},
    };
    ComScope com;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "VARDOLIN_DEMOCAM=" << std::string(c.switches, c.switches + wcslen(c.switches)));
        CameraSwitches switches(c.switches);
        ComPtr<IBaseFilter> alone = OpenVideoInputDevice(kFirstCamera);
        EXPECT_EQ(alone->Pause(), c.pause);
        alone->Stop();

        CaptureGraph graph(OpenVideoInputDevice(kFirstCamera), MEDIASUBTYPE_RGB24);
        ASSERT_HRESULT_SUCCEEDED(graph.Built());
        bool started = SUCCEEDED(graph.Run()) && SUCCEEDED(graph.WaitForState(2000ms));
        EXPECT_EQ(started, c.pause == S_OK);
        EXPECT_EQ(graph.NextFrame(started ? 3000ms : 300ms).has_value(), started);
    }
}

// Unplugged while running: EC_DEVICE_LOST once, naming the camera; no more
// frames; EC_DEVICE_LOST with 1 when it is back; a start fails while it is
// gone and delivers again once it is back.
TEST(DemoCameraSwitches, UnpluggedWhileRunningReportsDeviceLostAndStops) {
    ComScope com;
    CameraSwitches switches(L"");
    CaptureGraph graph(OpenVideoInputDevice(kFirstCamera), MEDIASUBTYPE_RGB24);
    ASSERT_HRESULT_SUCCEEDED(graph.Built());
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    ASSERT_TRUE(graph.NextFrame());

    switches.Set(L"unplugged");
    std::optional<std::tuple<long, LONG_PTR, LONG_PTR>> event;
    do event = graph.NextEvent(3000ms);
    while (event && std::get<0>(*event) != EC_DEVICE_LOST);
    ASSERT_TRUE(event);
    ComPtr<IUnknown> cameraIdentity;
    graph.Camera()->QueryInterface(IID_PPV_ARGS(&cameraIdentity));
    EXPECT_EQ(reinterpret_cast<IUnknown*>(std::get<1>(*event)), cameraIdentity.Get());
    EXPECT_EQ(std::get<2>(*event), 0);

    long framesAtLoss = graph.FramesSoFar();
    EXPECT_FALSE(graph.NextFrame(500ms));
    EXPECT_LE(graph.FramesSoFar(), framesAtLoss);
    for (auto more = graph.NextEvent(200ms); more; more = graph.NextEvent(200ms))
        EXPECT_NE(std::get<0>(*more), EC_DEVICE_LOST);

    switches.Set(L"");
    do event = graph.NextEvent(3000ms);
    while (event && std::get<0>(*event) != EC_DEVICE_LOST);
    ASSERT_TRUE(event);
    EXPECT_EQ(std::get<2>(*event), 1);  // back
    EXPECT_FALSE(graph.NextFrame(300ms));

    ASSERT_HRESULT_SUCCEEDED(graph.Stop());
    switches.Set(L"unplugged");
    EXPECT_FALSE(SUCCEEDED(graph.Run()) && SUCCEEDED(graph.WaitForState(2000ms)));
    graph.Stop();
    switches.Set(L"");
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    EXPECT_TRUE(graph.NextFrame());
}

}  // namespace
}  // namespace vardolin::democam::camtest
