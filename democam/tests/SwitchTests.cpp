// The failures the test switches stand for, seen through the graph as a
// capture program sees a real camera fail.
#include "democam/tests/CaptureGraph.h"
#include "democam/testing/DemoCamDll.h"

#include <gtest/gtest.h>
#include <evcode.h>
#include <uuids.h>

#include <string>
#include <thread>
#include <vector>

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
        std::wstring switches;
        HRESULT pause;
    };
    const std::wstring firstPath = kDemoCameraPath, secondPath = kSecondDemoCameraPath;
    const Case cases[] = {
        {L"inuse", kBusy},
        {L"Vardolin Demo Camera:inuse", kBusy},
        {L"Vardolin Demo Camera 2:inuse", S_OK},  // another camera's switch
        {firstPath + L":inuse", kBusy},           // addressed by device path
        {secondPath + L":inuse", S_OK},
        {L"unplugged", kGone},
        {L"time=5;inuse", kBusy},
        {L"formats=rgb24;unplugged", kGone},
        {L"inuse=600000", kBusy},  // ten minutes from the DLL's loading
        {L"inuse=0", S_OK},
        {L"inuse=99999999999999999999", kBusy},  // beyond any clock: as good as forever
        {L"inuse=x", S_OK},                      // not a number: no switch
        {L"Vardolin Demo Camera 2:inuse=600000", S_OK},
    };
    ComScope com;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "VARDOLIN_DEMOCAM=" << std::string(c.switches.begin(), c.switches.end()));
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

// inuse=MS: busy until MS after the DLL was loaded, then a graph starts the
// same camera object and frames flow.
TEST(DemoCameraSwitches, InUseForAWhileThenFree) {
    ComScope com;
    auto beforeLoading = std::chrono::steady_clock::now();
    DemoCamDll dll;  // the first load of the DLL in this process
    ASSERT_TRUE(dll.Loaded());
    auto loaded = std::chrono::steady_clock::now();
    auto busyFor = std::chrono::duration_cast<std::chrono::milliseconds>(loaded - beforeLoading) + 3000ms;
    CameraSwitches switches(L"inuse=" + std::to_wstring(busyFor.count()));

    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    ASSERT_TRUE(camera);
    EXPECT_EQ(camera->Pause(), kBusy);
    camera->Stop();

    std::this_thread::sleep_until(loaded + busyFor + 100ms);
    CaptureGraph graph(camera, MEDIASUBTYPE_RGB24);
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    EXPECT_HRESULT_SUCCEEDED(graph.WaitForState(2000ms));
    EXPECT_TRUE(graph.NextFrame());
}

// firstframe=MS: each start from stopped waits that long for its first
// frame; the frames after it keep the usual rate (15 a second).
TEST(DemoCameraSwitches, FirstFrameComesLateAfterEachStart) {
    struct Case {
        const wchar_t* switches;
        std::chrono::milliseconds earliest, latest;
    };
    const Case cases[] = {
        {L"", 0ms, 1000ms},
        {L"firstframe=1500", 1400ms, 3000ms},
        {L"Vardolin Demo Camera 2:firstframe=1500", 0ms, 1000ms},
    };
    ComScope com;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.switches, c.switches + wcslen(c.switches)));
        CameraSwitches switches(c.switches);
        CaptureGraph graph(OpenVideoInputDevice(kFirstCamera), MEDIASUBTYPE_RGB24);
        ASSERT_HRESULT_SUCCEEDED(graph.Built());
        for (int start = 0; start < 2; ++start) {
            auto started = std::chrono::steady_clock::now();
            ASSERT_HRESULT_SUCCEEDED(graph.Run());
            ASSERT_TRUE(graph.NextFrame(c.latest + 1000ms));
            auto waited = std::chrono::steady_clock::now() - started;
            EXPECT_GE(waited, c.earliest);
            EXPECT_LE(waited, c.latest);
            auto first = std::chrono::steady_clock::now();
            EXPECT_TRUE(graph.NextFrame(500ms));
            EXPECT_LT(std::chrono::steady_clock::now() - first, 500ms);
            ASSERT_HRESULT_SUCCEEDED(graph.Stop());
        }
    }
}

// nopages=pin|filter|both: that object offers no ISpecifyPropertyPages, as
// page-less cameras do.
TEST(DemoCameraSwitches, NoPagesHidesThePropertyPages) {
    struct Case {
        const wchar_t* switches;
        bool pinPages, filterPages;
    };
    const Case cases[] = {
        {L"", true, true},
        {L"nopages=pin", false, true},
        {L"nopages=filter", true, false},
        {L"nopages=both", false, false},
        {L"nopages=pin;nopages=filter", false, false},
        {L"Vardolin Demo Camera 2:nopages=both", true, true},
    };
    ComScope com;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.switches, c.switches + wcslen(c.switches)));
        CameraSwitches switches(c.switches);
        ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
        ASSERT_TRUE(camera);
        ComPtr<ISpecifyPropertyPages> pages;
        EXPECT_EQ(SUCCEEDED(CapturePin(camera.Get()).As(&pages)), c.pinPages);
        EXPECT_EQ(SUCCEEDED(camera.As(&pages)), c.filterPages);
        switches.Set(L"");  // the object keeps what it offered when created
        EXPECT_EQ(SUCCEEDED(camera.As(&pages)), c.filterPages);
    }
}

// strict: the control interfaces answer on the thread that created the
// camera and refuse any other, as an apartment-threaded filter reached from
// another apartment does; without the switch every thread is answered.
TEST(DemoCameraSwitches, StrictThreadsRefuseTheControlInterfacesElsewhere) {
    ComScope com;
    for (bool strict : {false, true}) {
        SCOPED_TRACE(strict);
        CameraSwitches switches(strict ? L"strict" : L"");
        ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
        ASSERT_TRUE(camera);
        ComPtr<IPin> pin = CapturePin(camera.Get());
        ComPtr<IAMStreamConfig> config;
        ComPtr<IAMVideoProcAmp> amp;
        ComPtr<ISpecifyPropertyPages> pages;
        ComPtr<IKsPropertySet> properties;
        ASSERT_HRESULT_SUCCEEDED(pin.As(&config));
        ASSERT_HRESULT_SUCCEEDED(camera.As(&amp));
        ASSERT_HRESULT_SUCCEEDED(camera.As(&pages));
        ASSERT_HRESULT_SUCCEEDED(pin.As(&properties));
        auto calls = [&] {
            int count = 0, size = 0;
            long value = 0, flags = 0;
            DWORD support = 0;
            CAUUID offered{};
            std::vector<HRESULT> results = {
                config->GetNumberOfCapabilities(&count, &size), amp->Get(VideoProcAmp_Brightness, &value, &flags),
                pages->GetPages(&offered),
                properties->QuerySupported(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, &support)};
            CoTaskMemFree(offered.pElems);
            return results;
        };
        for (HRESULT hr : calls()) EXPECT_HRESULT_SUCCEEDED(hr) << "on the creating thread";
        std::vector<HRESULT> elsewhere;
        std::thread([&] { elsewhere = calls(); }).join();
        for (HRESULT hr : elsewhere) EXPECT_EQ(hr, strict ? RPC_E_WRONG_THREAD : S_OK);
    }
}

}  // namespace
}  // namespace vardolin::democam::camtest
