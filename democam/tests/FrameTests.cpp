// The camera as a capture program meets it: listed by the device
// enumerator, connected by the capture graph builder, delivering the scene
// right way up in every format it offers, with its picture controls applied.
#include "democam/tests/CaptureGraph.h"
#include "democam/testing/DemoCamDll.h"
#include "democam/DemoScene.h"
#include "democam/PhotoScene.h"

#include <gtest/gtest.h>
#include <evcode.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <algorithm>
#include <utility>
#include <cmath>

namespace vardolin::democam::camtest {
namespace {

constexpr long long kFrozenMs = 45296789;  // 12:34:56.789
constexpr wchar_t kFrozen[] = L"time=45296789";

struct Size {
    int width, height;
};
constexpr Size kSizes[] = {{320, 240}, {640, 480}, {1280, 720}, {1920, 1080}};

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

// vih2: every type the camera offers, reports and accepts has a
// VIDEOINFOHEADER2 block (aspect ratio of the picture, progressive), and a
// downstream filter connected with one gets the whole scene.
TEST(DemoCamera, Vih2CameraDescribesEveryFormatWithVideoInfoHeader2) {
    ComScope com;
    CameraSwitches switches(L"vih2;time=45296789");
    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    ComPtr<IAMStreamConfig> config = StreamConfig(camera.Get());
    ASSERT_TRUE(config);
    int count = 0, size = 0;
    ASSERT_HRESULT_SUCCEEDED(config->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(count, 8);
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        ASSERT_EQ(config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
        EXPECT_TRUE(IsEqualGUID(caps.guid, FORMAT_VideoInfo2));
        ASSERT_TRUE(IsEqualGUID(type->formattype, FORMAT_VideoInfo2));
        ASSERT_EQ(type->cbFormat, sizeof(VIDEOINFOHEADER2));
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(type->pbFormat);
        EXPECT_EQ(std::pair(info->dwPictAspectRatioX, info->dwPictAspectRatioY),
                  info->bmiHeader.biWidth >= 1280 ? std::pair(16UL, 9UL) : std::pair(4UL, 3UL));
        EXPECT_EQ(info->dwInterlaceFlags, 0UL);
        EXPECT_EQ(info->AvgTimePerFrame, 666666);
        EXPECT_EQ(CapturePin(camera.Get())->QueryAccept(type), S_OK);
        type->formattype = FORMAT_VideoInfo;  // the same picture in the other block is refused
        EXPECT_EQ(CapturePin(camera.Get())->QueryAccept(type), S_FALSE);
        type->formattype = FORMAT_VideoInfo2;
        FreeMediaType(type);
    }
    ASSERT_HRESULT_SUCCEEDED(ChooseFormat(camera.Get(), MEDIASUBTYPE_RGB24, 320, 240));
    AM_MEDIA_TYPE* current = nullptr;
    ASSERT_HRESULT_SUCCEEDED(config->GetFormat(&current));
    EXPECT_TRUE(IsEqualGUID(current->formattype, FORMAT_VideoInfo2));
    EXPECT_EQ(BitmapHeaderOf(*current).biWidth, 320);
    FreeMediaType(current);

    // A sample grabber that asks for VIDEOINFOHEADER cannot connect; one
    // that asks for VIDEOINFOHEADER2 gets the scene (so does one that leaves
    // the block open, under Wine; the Windows grabber takes no
    // VIDEOINFOHEADER2 at all, as documented).
    struct Grabber {
        GUID format;
        bool connects;
    };
    const ScenePicture expected = ExpectedScene(320, 240);
    for (Grabber grabber : {Grabber{FORMAT_VideoInfo, false}, Grabber{FORMAT_VideoInfo2, true}}) {
        CaptureGraph graph(camera, MEDIASUBTYPE_RGB24, grabber.format);
        EXPECT_EQ(SUCCEEDED(graph.Built()), grabber.connects);
        if (!grabber.connects) continue;
        GUID connected = GUID_NULL;
        EXPECT_EQ(graph.ConnectedHeader(&connected).biWidth, 320);
        EXPECT_TRUE(IsEqualGUID(connected, FORMAT_VideoInfo2));
        ASSERT_HRESULT_SUCCEEDED(graph.Run());
        std::optional<Frame> frame = graph.NextFrame();
        ASSERT_TRUE(frame);
        EXPECT_TRUE(FromRgb24Sample(frame->bytes, 320, 240).bits == expected.bits);
    }
}

// BT.601 studio-range YUV of a BGR pixel, in floating point.
struct Yuv {
    double y, u, v;
};
Yuv YuvOf(double b, double g, double r) {
    return {16 + (65.481 * r + 128.553 * g + 24.966 * b) / 255, 128 + (-37.797 * r - 74.203 * g + 112.0 * b) / 255,
            128 + (112.0 * r - 93.786 * g - 18.214 * b) / 255};
}
// The mean colour of a w x h block of the scene, as YUV.
Yuv BlockYuv(const ScenePicture& scene, int x, int y, int w, int h) {
    double sum[3] = {};
    for (int dy = 0; dy < h; ++dy)
        for (int dx = 0; dx < w; ++dx)
            for (int c = 0; c < 3; ++c) sum[c] += scene.Row(y + dy)[3 * (x + dx) + c];
    return YuvOf(sum[0] / (w * h), sum[1] / (w * h), sum[2] / (w * h));
}

// Largest difference between a YUV sample and the scene; lumaAt and
// chromaAt read the sample, chroma per block of chromaW x chromaH pixels.
struct YuvLayout {
    const wchar_t* switches;
    GUID subtype;
    const char* name;
    size_t bytesPerFrame;  // at 640 x 480
    int chromaW, chromaH;
    uint8_t (*luma)(const std::vector<uint8_t>&, int x, int y);
    std::pair<uint8_t, uint8_t> (*chroma)(const std::vector<uint8_t>&, int x, int y);
};
constexpr int kW = 640, kH = 480;

const YuvLayout kYuvLayouts[] = {
    {L"formats=yuy2;time=45296789", MEDIASUBTYPE_YUY2, "YUY2", kW* kH * 2, 2, 1,
     [](const std::vector<uint8_t>& s, int x, int y) { return s[(y * kW + x) * 2]; },
     [](const std::vector<uint8_t>& s, int x, int y) {
         size_t pair = (y * kW + x) * 2;
         return std::pair{s[pair + 1], s[pair + 3]};
     }},
    {L"formats=nv12;time=45296789", MEDIASUBTYPE_NV12, "NV12", kW* kH * 3 / 2, 2, 2,
     [](const std::vector<uint8_t>& s, int x, int y) { return s[y * kW + x]; },
     [](const std::vector<uint8_t>& s, int x, int y) {
         size_t pair = kW * kH + (y / 2) * kW + x;
         return std::pair{s[pair], s[pair + 1]};
     }},
};

// A camera switched to one YUV format offers only that format, connects to
// a grabber of that format (the system has no converter to RGB), and its
// frames carry the scene top-down.
TEST(DemoCamera, YuvOnlyCameraOffersAndDeliversThatFormat) {
    ComScope com;
    ScenePicture expected = ExpectedScene(kW, kH);
    for (const YuvLayout& layout : kYuvLayouts) {
        SCOPED_TRACE(layout.name);
        CameraSwitches switches(layout.switches);
        ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
        ComPtr<IAMStreamConfig> config = StreamConfig(camera.Get());
        ASSERT_TRUE(config);
        int count = 0, size = 0;
        ASSERT_HRESULT_SUCCEEDED(config->GetNumberOfCapabilities(&count, &size));
        EXPECT_EQ(count, 4);
        for (int i = 0; i < count; ++i) {
            AM_MEDIA_TYPE* type = nullptr;
            VIDEO_STREAM_CONFIG_CAPS caps{};
            ASSERT_EQ(config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
            EXPECT_TRUE(IsEqualGUID(type->subtype, layout.subtype));
            FreeMediaType(type);
        }

        CaptureGraph graph(camera, layout.subtype);
        ASSERT_HRESULT_SUCCEEDED(graph.Built());
        ASSERT_HRESULT_SUCCEEDED(graph.Run());
        std::optional<Frame> frame = graph.NextFrame();
        ASSERT_TRUE(frame);
        ASSERT_EQ(frame->bytes.size(), layout.bytesPerFrame);
        double worst = 0;
        for (int y = 0; y < kH; y += layout.chromaH)
            for (int x = 0; x < kW; x += layout.chromaW) {
                Yuv want = BlockYuv(expected, x, y, layout.chromaW, layout.chromaH);
                auto [u, v] = layout.chroma(frame->bytes, x, y);
                worst = std::max({worst, std::abs(u - want.u), std::abs(v - want.v)});
                for (int dy = 0; dy < layout.chromaH; ++dy)
                    for (int dx = 0; dx < layout.chromaW; ++dx) {
                        const uint8_t* p = expected.Row(y + dy) + 3 * (x + dx);
                        worst = std::max(
                            worst, std::abs(layout.luma(frame->bytes, x + dx, y + dy) - YuvOf(p[0], p[1], p[2]).y));
                    }
            }
        EXPECT_LT(worst, 2.5);
    }
}

// Brightness and contrast reach the pixels: each channel becomes
// (v - 128) * contrast / 100 + 128 + brightness, within the 8 bits.
TEST(DemoCamera, PictureControlsChangeTheFrames) {
    ComScope com;
    CameraSwitches switches(kFrozen);
    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    ComPtr<IAMVideoProcAmp> amp;
    ASSERT_HRESULT_SUCCEEDED(camera.As(&amp));
    long min = 0, max = 0, step = 0, byDefault = 0, flags = 0;
    ASSERT_HRESULT_SUCCEEDED(amp->GetRange(VideoProcAmp_Brightness, &min, &max, &step, &byDefault, &flags));
    EXPECT_EQ(std::tuple(min, max, byDefault), std::tuple(-100L, 100L, 0L));
    ASSERT_HRESULT_SUCCEEDED(amp->GetRange(VideoProcAmp_Contrast, &min, &max, &step, &byDefault, &flags));
    EXPECT_EQ(std::tuple(min, max, byDefault), std::tuple(0L, 200L, 100L));
    EXPECT_EQ(amp->Set(VideoProcAmp_Brightness, 101, VideoProcAmp_Flags_Manual), E_INVALIDARG);
    EXPECT_EQ(amp->Set(VideoProcAmp_Contrast, -1, VideoProcAmp_Flags_Manual), E_INVALIDARG);
    EXPECT_HRESULT_FAILED(amp->Set(VideoProcAmp_Hue, 0, VideoProcAmp_Flags_Manual));

    struct Setting {
        long brightness, contrast;
    };
    const ScenePicture scene = ExpectedScene(kW, kH);
    CaptureGraph graph(camera, MEDIASUBTYPE_RGB24);
    ASSERT_HRESULT_SUCCEEDED(graph.Built());
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    for (Setting setting : {Setting{60, 100}, Setting{-40, 150}, Setting{0, 30}}) {
        SCOPED_TRACE(testing::Message() << setting.brightness << " / " << setting.contrast);
        ASSERT_HRESULT_SUCCEEDED(amp->Set(VideoProcAmp_Brightness, setting.brightness, VideoProcAmp_Flags_Manual));
        ASSERT_HRESULT_SUCCEEDED(amp->Set(VideoProcAmp_Contrast, setting.contrast, VideoProcAmp_Flags_Manual));
        graph.NextFrame();  // may have been drawn before the change
        std::optional<Frame> frame = graph.NextFrame();
        ASSERT_TRUE(frame);
        ScenePicture delivered = FromRgb24Sample(frame->bytes, kW, kH);
        double worst = 0;
        for (int y = 0; y < kH; ++y)
            for (int i = 0; i < kW * 3; ++i) {
                double want = std::clamp((scene.Row(y)[i] - 128) * setting.contrast / 100.0 + 128 + setting.brightness,
                                         0.0, 255.0);
                worst = std::max(worst, std::abs(delivered.Row(y)[i] - want));
            }
        EXPECT_LE(worst, 1.0);
    }
}

// The gain switch multiplies every channel (clipped); the blur switch keeps
// the picture's mean and takes away most of its pixel-to-pixel detail;
// values that are no positive number are ignored.
TEST(DemoCamera, GainAndBlurSwitchesChangeTheFrames) {
    ComScope com;
    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    const ScenePicture scene = ExpectedScene(kW, kH);
    // The mean of the channels, and the mean squared step between neighbours in a row.
    auto measure = [](const ScenePicture& p) {
        double sum = 0, steps = 0;
        for (int y = 0; y < kH; ++y)
            for (int i = 0; i < kW * 3; ++i) {
                sum += p.Row(y)[i];
                if (i >= 3) steps += std::pow(p.Row(y)[i] - p.Row(y)[i - 3], 2);
            }
        return std::pair(sum / (kW * kH * 3), steps / (kW * kH * 3));
    };
    const auto [mean, detail] = measure(scene);
    struct Case {
        const wchar_t* switches;
        double gain;
        bool blurred;
    };
    const Case cases[] = {{L"gain=0.3;time=45296789", 0.3, false},
                          {L"gain=1.8;time=45296789", 1.8, false},
                          {L"blur=3;time=45296789", 1, true},
                          {L"blur=-2;gain=x;time=45296789", 1, false}};
    CaptureGraph graph(camera, MEDIASUBTYPE_RGB24);
    ASSERT_HRESULT_SUCCEEDED(graph.Built());
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.switches, c.switches + wcslen(c.switches)));
        CameraSwitches switches(c.switches);
        graph.NextFrame();  // may have been drawn before the change
        std::optional<Frame> frame = graph.NextFrame();
        ASSERT_TRUE(frame);
        ScenePicture delivered = FromRgb24Sample(frame->bytes, kW, kH);
        if (c.blurred) {
            auto [blurredMean, blurredDetail] = measure(delivered);
            EXPECT_NEAR(blurredMean, mean, 1.0);
            EXPECT_LT(blurredDetail, detail / 3);
            continue;
        }
        double worst = 0;
        for (int y = 0; y < kH; ++y)
            for (int i = 0; i < kW * 3; ++i)
                worst = std::max(worst, std::abs(delivered.Row(y)[i] - std::min(255.0, scene.Row(y)[i] * c.gain)));
        EXPECT_LE(worst, 1.0);
    }
}

// The camera films the photograph when its scene control or the scene
// switch says so; the switch wins.
TEST(DemoCamera, SceneControlAndSwitchChooseThePhotograph) {
    ComScope com;
    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    ComPtr<IAMVideoProcAmp> amp;
    ASSERT_HRESULT_SUCCEEDED(camera.As(&amp));
    long min = 0, max = 0, step = 0, byDefault = 0, flags = 0;
    ASSERT_HRESULT_SUCCEEDED(amp->GetRange(kSceneProperty, &min, &max, &step, &byDefault, &flags));
    EXPECT_EQ(std::tuple(min, max, byDefault), std::tuple(0L, 1L, 0L));
    EXPECT_EQ(amp->Set(kSceneProperty, 2, VideoProcAmp_Flags_Manual), E_INVALIDARG);

    struct Case {
        const wchar_t* switches;
        Scene control, filmed;
    };
    const Case cases[] = {
        {kFrozen, Scene::Portrait, Scene::Portrait},
        {kFrozen, Scene::Photograph, Scene::Photograph},
        {L"scene=photo;time=45296789", Scene::Portrait, Scene::Photograph},
        {L"scene=portrait;time=45296789", Scene::Photograph, Scene::Portrait},
    };
    ScenePicture photo;
    DrawPhotoScene(photo, kW, kH, std::chrono::milliseconds(kFrozenMs));
    const ScenePicture portrait = ExpectedScene(kW, kH);
    CaptureGraph graph(camera, MEDIASUBTYPE_RGB24);
    ASSERT_HRESULT_SUCCEEDED(graph.Built());
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.switches, c.switches + wcslen(c.switches)) << ", control "
                                        << static_cast<int>(c.control));
        CameraSwitches switches(c.switches);
        ASSERT_HRESULT_SUCCEEDED(amp->Set(kSceneProperty, static_cast<long>(c.control), VideoProcAmp_Flags_Manual));
        graph.NextFrame();  // may have been drawn before the change
        std::optional<Frame> frame = graph.NextFrame();
        ASSERT_TRUE(frame);
        EXPECT_TRUE(FromRgb24Sample(frame->bytes, kW, kH).bits ==
                    (c.filmed == Scene::Photograph ? photo : portrait).bits);
    }
}

// After a whole capture session (graph, formats, pages) every object of
// the camera is released again: the DLL could be unloaded.
TEST(DemoCamera, NothingStaysAliveAfterASession) {
    DemoCamDll dll;
    ASSERT_TRUE(dll.Loaded());
    {
        ComScope com;
        CameraSwitches switches(L"");
        ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
        ASSERT_HRESULT_SUCCEEDED(ChooseFormat(camera.Get(), MEDIASUBTYPE_RGB24, 320, 240));
        {
            CaptureGraph graph(camera, MEDIASUBTYPE_RGB24);
            ASSERT_HRESULT_SUCCEEDED(graph.Run());
            ASSERT_TRUE(graph.NextFrame());
            switches.Set(L"unplugged");  // the device-lost path too
            std::optional<std::tuple<long, LONG_PTR, LONG_PTR>> event;
            do event = graph.NextEvent(std::chrono::milliseconds(3000));
            while (event && std::get<0>(*event) != EC_DEVICE_LOST);
            ASSERT_TRUE(event);
            graph.Stop();
        }
        ComPtr<IEnumPins> pins;
        ComPtr<IPin> pin;
        ComPtr<IEnumMediaTypes> types;
        ASSERT_HRESULT_SUCCEEDED(camera->EnumPins(&pins));
        ASSERT_EQ(pins->Next(1, &pin, nullptr), S_OK);
        ASSERT_HRESULT_SUCCEEDED(pin->EnumMediaTypes(&types));
        AM_MEDIA_TYPE* type = nullptr;
        while (types->Next(1, &type, nullptr) == S_OK) {
            FreeMediaType(type);
        }
        EXPECT_EQ(dll.CanUnloadNow(), S_FALSE);  // still in use here
    }
    EXPECT_EQ(dll.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace vardolin::democam::camtest
