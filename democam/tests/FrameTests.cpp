// The camera as a capture program meets it: listed by the device
// enumerator, connected by the capture graph builder, delivering the scene
// right way up in every format it offers, with its picture controls applied.
#include "CaptureGraph.h"
#include "DemoScene.h"

#include <gtest/gtest.h>
#include <uuids.h>

#include <algorithm>
#include <cmath>

namespace vardolin::democam::camtest {
namespace {

constexpr long long kFrozenMs = 45296789;  // 12:34:56.789
constexpr wchar_t kFrozen[] = L"time=45296789";

struct Size {
    int width, height;
};
constexpr Size kSizes[] = {{320, 240}, {640, 480}, {1280, 720}};

ScenePicture ExpectedScene(int width, int height) {
    ScenePicture scene;
    DrawDemoScene(scene, width, height, std::chrono::milliseconds(kFrozenMs));
    return scene;
}

double MeanLuma(const ScenePicture& scene, int top, int rows) {
    double sum = 0;
    for (int y = top; y < top + rows; ++y)
        for (int x = 0; x < scene.width; ++x) {
            const uint8_t* p = scene.Row(y) + 3 * x;
            sum += 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
        }
    return sum / (rows * scene.width);
}

// An RGB24 sample (bottom-up, DIB rows) as a top-down picture.
ScenePicture FromRgb24Sample(const std::vector<uint8_t>& sample, int width, int height) {
    ScenePicture picture;
    picture.Resize(width, height);
    if (sample.size() < picture.bits.size()) return picture;
    for (int y = 0; y < height; ++y)
        std::copy_n(sample.data() + picture.stride * (height - 1 - y), picture.stride, picture.Row(y));
    return picture;
}

TEST(DemoCamera, DeviceEnumeratorListsItByName) {
    ComScope com;
    std::vector<std::wstring> names = VideoInputDeviceNames();
    EXPECT_NE(std::find(names.begin(), names.end(), kFirstCamera), names.end());
    EXPECT_NE(OpenVideoInputDevice(kFirstCamera), nullptr);
}

TEST(DemoCamera, DefaultFormatIs640x480Rgb24) {
    ComScope com;
    CaptureGraph graph(OpenVideoInputDevice(kFirstCamera), MEDIASUBTYPE_RGB24);
    ASSERT_HRESULT_SUCCEEDED(graph.Built());
    BITMAPINFOHEADER header = graph.ConnectedHeader();
    EXPECT_EQ(header.biWidth, 640);
    EXPECT_EQ(header.biHeight, 480);
    EXPECT_EQ(header.biBitCount, 24);
}

// Every RGB24 size: the frame is the scene drawn at that size, bottom-up as
// a DIB, so the picture comes out right way up (dark top, clock top-left).
TEST(DemoCamera, Rgb24FramesCarryTheSceneRightWayUpAtEverySize) {
    ComScope com;
    CameraSwitches switches(kFrozen);
    for (Size size : kSizes) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
        ASSERT_HRESULT_SUCCEEDED(ChooseFormat(camera.Get(), MEDIASUBTYPE_RGB24, size.width, size.height));
        CaptureGraph graph(camera, MEDIASUBTYPE_RGB24);
        ASSERT_HRESULT_SUCCEEDED(graph.Built());
        ASSERT_HRESULT_SUCCEEDED(graph.Run());
        std::optional<Frame> frame = graph.NextFrame();
        ASSERT_TRUE(frame);
        ScenePicture expected = ExpectedScene(size.width, size.height);
        ASSERT_EQ(frame->bytes.size(), expected.bits.size());
        ScenePicture delivered = FromRgb24Sample(frame->bytes, size.width, size.height);
        EXPECT_TRUE(delivered.bits == expected.bits);
        EXPECT_LT(MeanLuma(delivered, 0, size.height / 8), MeanLuma(delivered, size.height * 7 / 8, size.height / 8));
    }
}

}  // namespace
}  // namespace vardolin::democam::camtest
