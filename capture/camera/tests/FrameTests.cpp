// Camera frames into the preview picture: every pixel format, row order,
// stride and visible area, aspect ratios cropped not stretched; the frame
// tap between the streaming and the window's thread; the format asked of a
// camera.
#include "capture/camera/FormatChoice.h"
#include "capture/camera/FrameSink.h"
#include "capture/camera/FrameTap.h"
#include "capture/camera/MediaTypes.h"
#include "capture/camera/PixelConversion.h"

#include "capture/camera/CameraProblem.h"
#include "win/ComAdopt.h"
#include "win/ComObject.h"
#include "win/Win32Handles.h"

#include <gtest/gtest.h>

#include <dvdmedia.h>
#include <uuids.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace vardolin::capture::test {
namespace {

using Microsoft::WRL::ComPtr;

struct Bgr {
    int b, g, r;
};

// Four colours in the quadrants of the centred 4:3 area; magenta outside it,
// where a wider or taller picture is cropped away.
Bgr PatternAt(int x, int y, int width, int height) {
    int cropW = width, cropH = height;
    if (width * 3 > height * 4) cropW = height * 4 / 3;
    else cropH = width * 3 / 4;
    int left = (width - cropW) / 2, top = (height - cropH) / 2;
    if (x < left || x >= left + cropW || y < top || y >= top + cropH) return {255, 0, 255};
    bool right = x - left >= cropW / 2, bottom = y - top >= cropH / 2;
    static const Bgr kQuadrants[4] = {{40, 40, 220}, {40, 200, 40}, {220, 60, 40}, {200, 200, 200}};
    return kQuadrants[(bottom ? 2 : 0) + (right ? 1 : 0)];
}

// Studio-range BT.601, as cameras deliver it.
void ToYuv(Bgr c, int& y, int& u, int& v) {
    y = 16 + ((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8);
    u = 128 + ((-38 * c.r - 74 * c.g + 112 * c.b + 128) >> 8);
    v = 128 + ((112 * c.r - 94 * c.g - 18 * c.b + 128) >> 8);
}

// The pattern over the visible area; magenta in the rest of the rows.
std::vector<uint8_t> MakeSample(const SampleLayout& l) {
    std::vector<uint8_t> s(SampleBytes(l));
    int w = l.width, h = l.height;
    RECT v = VisibleArea(l);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool inside = x >= v.left && x < v.right && y >= v.top && y < v.bottom;
            Bgr c = inside ? PatternAt(x - v.left, y - v.top, v.right - v.left, v.bottom - v.top) : Bgr{255, 0, 255};
            int Y, U, V;
            ToYuv(c, Y, U, V);
            switch (l.format) {
            case PixelFormat::Rgb24:
            case PixelFormat::Rgb32: {
                int bytes = l.format == PixelFormat::Rgb24 ? 3 : 4;
                size_t stride = ((size_t(w) * bytes * 8 + 31) / 32) * 4;
                uint8_t* p = s.data() + stride * (l.bottomUp ? h - 1 - y : y) + bytes * x;
                p[0] = uint8_t(c.b), p[1] = uint8_t(c.g), p[2] = uint8_t(c.r);
                break;
            }
            case PixelFormat::Rgb565:
            case PixelFormat::Rgb555: {
                size_t stride = ((size_t(w) * 16 + 31) / 32) * 4;
                uint8_t* p = s.data() + stride * (l.bottomUp ? h - 1 - y : y) + 2 * x;
                unsigned v = l.format == PixelFormat::Rgb565 ? (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3
                                                             : (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3;
                p[0] = uint8_t(v), p[1] = uint8_t(v >> 8);
                break;
            }
            case PixelFormat::Yuy2: {
                uint8_t* p = s.data() + size_t(w) * 2 * y + 2 * x;
                p[0] = uint8_t(Y);
                p[1] = uint8_t(x % 2 ? V : U);  // Y0 U Y1 V
                break;
            }
            case PixelFormat::Nv12: {
                s[size_t(w) * y + x] = uint8_t(Y);
                s[size_t(w) * h + size_t(w) * (y / 2) + (x & ~1)] = uint8_t(U);
                s[size_t(w) * h + size_t(w) * (y / 2) + (x | 1)] = uint8_t(V);
                break;
            }
            }
        }
    return s;
}

// Wider rows than the picture (a stride) and a picture inside the rows
// (rcSource) are honoured: only the visible picture shows.
// The preview of a MakeSample frame: the pattern at the quadrant centres and
// the outermost pixels, never the cropped-away magenta.
void ExpectPreviewOfPattern(const BitmapPixels& picture, PixelFormat format) {
    ASSERT_EQ(picture.width, kPreviewWidth);
    ASSERT_EQ(picture.height, kPreviewHeight);
    int tolerance = format == PixelFormat::Rgb24 || format == PixelFormat::Rgb32 ? 0
                    : format == PixelFormat::Yuy2 || format == PixelFormat::Nv12 ? 4
                                                                                 : 8;
    for (auto [x, y] : {std::pair{80, 60}, {240, 60}, {80, 180}, {240, 180}, {0, 0}, {319, 239}, {319, 0}}) {
        Bgr want = PatternAt(x, y, kPreviewWidth, kPreviewHeight);
        const uint8_t* got = picture.Row(y) + 3 * x;
        EXPECT_NEAR(got[0], want.b, tolerance) << x << "," << y;
        EXPECT_NEAR(got[1], want.g, tolerance) << x << "," << y;
        EXPECT_NEAR(got[2], want.r, tolerance) << x << "," << y;
    }
}

TEST(PixelConversion, EveryFormatShapeAndStrideGivesTheWholePictureRightWayUp) {
    const SampleLayout cases[] = {
        {PixelFormat::Rgb24, 640, 480, true},
        {PixelFormat::Rgb24, 640, 480, false},
        {PixelFormat::Rgb32, 320, 240, true},
        {PixelFormat::Yuy2, 1280, 720, false},
        {PixelFormat::Nv12, 1280, 720, false},
        {PixelFormat::Rgb24, 1920, 1080, true},
        {PixelFormat::Yuy2, 640, 640, false},
        {PixelFormat::Rgb24, 160, 120, true},
        {PixelFormat::Nv12, 328, 240, false},
        {PixelFormat::Rgb24, 400, 240, true, {40, 0, 360, 240}},
        {PixelFormat::Yuy2, 1920, 1088, false, {0, 0, 1920, 1080}},
        {PixelFormat::Nv12, 704, 480, false, {32, 0, 672, 480}},
        {PixelFormat::Rgb32, 660, 500, false, {10, 10, 650, 490}},
        {PixelFormat::Rgb565, 642, 480, true},
        {PixelFormat::Rgb555, 640, 480, false, {0, 0, 640, 360}},
    };
    PixelConverter scaler;
    BitmapPixels picture;
    for (const SampleLayout& layout : cases) {
        SCOPED_TRACE(testing::Message() << int(layout.format) << " " << layout.width << "x" << layout.height
                                        << (layout.bottomUp ? " bottom-up" : " top-down") << " from "
                                        << layout.visible.left << "," << layout.visible.top);
        std::vector<uint8_t> sample = MakeSample(layout);
        ASSERT_TRUE(scaler.Convert(layout, sample.data(), sample.size(), picture));
        ExpectPreviewOfPattern(picture, layout.format);
        EXPECT_FALSE(scaler.Convert(layout, sample.data(), sample.size() - 1, picture));
    }
}

// What the sink's pin takes: the formats we convert in either video block,
// laid out as the header and its source rectangle say; nothing else.
TEST(PixelConversion, TheLayoutIsReadFromTheMediaTypeOrTheTypeIsRefused) {
    struct Type {
        GUID major, subtype, block;
        int width, height;
        RECT source;
    };
    const struct {
        Type type;
        std::optional<SampleLayout> layout;
    } cases[] = {
        {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 640, 480, {}}, {{PixelFormat::Rgb24, 640, 480, true}}},
        {{MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo2, 640, -480, {}},
         {{PixelFormat::Rgb32, 640, 480, false}}},
        {{MEDIATYPE_Video, MEDIASUBTYPE_YUY2, FORMAT_VideoInfo2, 1920, 1088, {0, 0, 1920, 1080}},
         {{PixelFormat::Yuy2, 1920, 1088, false, {0, 0, 1920, 1080}}}},
        {{MEDIATYPE_Video, MEDIASUBTYPE_NV12, FORMAT_VideoInfo, 704, 480, {32, 0, 672, 480}},
         {{PixelFormat::Nv12, 704, 480, false, {32, 0, 672, 480}}}},
        {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 640, 480, {0, 0, 641, 480}}, std::nullopt},
        {{MEDIATYPE_Video, MEDIASUBTYPE_MJPG, FORMAT_VideoInfo, 640, 480, {}}, std::nullopt},
        {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_None, 640, 480, {}}, std::nullopt},
        {{MEDIATYPE_Audio, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 640, 480, {}}, std::nullopt},
        {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 0, 240, {}}, std::nullopt},
        {{MEDIATYPE_Video, MEDIASUBTYPE_YUY2, FORMAT_VideoInfo, 321, 240, {}}, std::nullopt},  // YUY2 pairs pixels
        {{MEDIATYPE_Video, MEDIASUBTYPE_NV12, FORMAT_VideoInfo, 320, 241, {}}, std::nullopt},
        {{MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 100000, 240, {}}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type.width << "x" << c.type.height);
        VIDEOINFOHEADER info{};
        VIDEOINFOHEADER2 info2{};
        bool first = c.type.block != FORMAT_VideoInfo2;
        (first ? info.rcSource : info2.rcSource) = c.type.source;
        BITMAPINFOHEADER& header = first ? info.bmiHeader : info2.bmiHeader;
        header.biWidth = c.type.width;
        header.biHeight = c.type.height;
        AM_MEDIA_TYPE type{};
        type.majortype = c.type.major;
        type.subtype = c.type.subtype;
        type.formattype = c.type.block;
        type.pbFormat = first ? reinterpret_cast<BYTE*>(&info) : reinterpret_cast<BYTE*>(&info2);
        type.cbFormat = first ? sizeof(info) : sizeof(info2);
        std::optional<SampleLayout> layout = LayoutOfType(type);
        ASSERT_EQ(layout.has_value(), c.layout.has_value());
        if (!layout) continue;
        EXPECT_EQ(layout->format, c.layout->format);
        EXPECT_EQ(layout->width, c.layout->width);
        EXPECT_EQ(layout->height, c.layout->height);
        EXPECT_EQ(layout->bottomUp, c.layout->bottomUp);
        EXPECT_TRUE(EqualRect(&layout->visible, &c.layout->visible));
    }
}

// The tap gives the window nothing before the first frame, then the latest
// frame's preview, and with detail that frame's middle 4:3 area at full
// size; a frame shorter than its layout is not counted.
TEST(FrameTap, TheWindowTakesTheLatestPreviewAndTheStillItsDetail) {
    FrameTap tap;
    BitmapPixels picture, detail;
    EXPECT_FALSE(tap.LatestFrame(picture, &detail));
    const SampleLayout hd{PixelFormat::Yuy2, 1920, 1088, false, {0, 0, 1920, 1080}};
    std::vector<uint8_t> frame = MakeSample(hd);
    tap.Deliver(hd, frame.data(), frame.size() - 1);
    EXPECT_EQ(tap.SampleCount(), 0u);
    tap.Deliver(hd, frame.data(), frame.size());
    EXPECT_EQ(tap.SampleCount(), 1u);
    EXPECT_GT(tap.LastSampleTick(), 0u);
    ASSERT_TRUE(tap.LatestFrame(picture, &detail));
    EXPECT_EQ(picture.width, kPreviewWidth);
    EXPECT_EQ(picture.height, kPreviewHeight);
    EXPECT_EQ(detail.width, 1440);
    EXPECT_EQ(detail.height, 1080);
    for (auto [x, y] : {std::pair{360, 270}, {1080, 270}, {360, 810}, {1080, 810}}) {
        Bgr want = PatternAt(x, y, 1440, 1080);
        const uint8_t* got = detail.Row(y) + 3 * x;
        EXPECT_NEAR(got[0], want.b, 4);
        EXPECT_NEAR(got[2], want.r, 4);
    }
    // The next frame, of another format and size, replaces it.
    const SampleLayout small{PixelFormat::Rgb24, 320, 240, true};
    std::vector<uint8_t> black(SampleBytes(small), 0);
    tap.Deliver(small, black.data(), black.size());
    ASSERT_TRUE(tap.LatestFrame(picture, &detail));
    EXPECT_EQ(tap.SampleCount(), 2u);
    EXPECT_EQ(*std::max_element(picture.bits.begin(), picture.bits.end()), 0);
    EXPECT_EQ(detail.width, 320);
}

// A video type of our own, as a capture filter or decoder proposes it.
void MakeVideoType(MediaType& type, const GUID& subtype, const GUID& block, int width, int height, RECT source = {}) {
    FreeMediaTypeFields(type);
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = block;
    type.cbFormat = block == FORMAT_VideoInfo2 ? sizeof(VIDEOINFOHEADER2) : sizeof(VIDEOINFOHEADER);
    type.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(type.cbFormat));
    std::fill_n(type.pbFormat, type.cbFormat, BYTE{0});
    *reinterpret_cast<RECT*>(type.pbFormat) = source;  // both blocks start with rcSource
    auto* header = const_cast<BITMAPINFOHEADER*>(VideoHeaderOf(type));
    header->biWidth = width;
    header->biHeight = height;
}

// One frame as a capture filter hands it to the sink, maybe with a new type;
// GetPointer may hold the caller until released, to catch Receive midway.
class FakeSample final : public ComObject<FakeSample, IMediaSample> {
public:
    FakeSample(std::vector<uint8_t> data, const AM_MEDIA_TYPE* type) : data_(std::move(data)) {
        if (type) CopyMediaType(*type, type_);
    }
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IMediaSample ? static_cast<IMediaSample*>(this) : nullptr;
    }
    HANDLE entered = nullptr, release = nullptr;

    STDMETHODIMP GetPointer(BYTE** out) override {
        if (entered) SetEvent(entered);
        if (release) WaitForSingleObject(release, INFINITE);
        *out = data_.data();
        return S_OK;
    }
    STDMETHODIMP_(long) GetSize() override { return static_cast<long>(data_.size()); }
    STDMETHODIMP_(long) GetActualDataLength() override { return static_cast<long>(data_.size()); }
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** out) override {
        *out = nullptr;
        if (!type_.pbFormat) return S_FALSE;
        *out = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        return CopyMediaType(type_, **out);
    }
    STDMETHODIMP GetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return VFW_E_SAMPLE_TIME_NOT_SET; }
    STDMETHODIMP SetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return S_OK; }
    STDMETHODIMP IsSyncPoint() override { return S_OK; }
    STDMETHODIMP SetSyncPoint(BOOL) override { return S_OK; }
    STDMETHODIMP IsPreroll() override { return S_FALSE; }
    STDMETHODIMP SetPreroll(BOOL) override { return S_OK; }
    STDMETHODIMP SetActualDataLength(long) override { return E_NOTIMPL; }
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDiscontinuity() override { return S_FALSE; }
    STDMETHODIMP SetDiscontinuity(BOOL) override { return S_OK; }
    STDMETHODIMP GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
    STDMETHODIMP SetMediaTime(LONGLONG*, LONGLONG*) override { return S_OK; }

private:
    std::vector<uint8_t> data_;
    MediaType type_;
};

ComPtr<IMediaSample> SampleOf(const SampleLayout& layout, const AM_MEDIA_TYPE* type = nullptr) {
    return AdoptReference<IMediaSample>(new FakeSample(MakeSample(layout), type));
}

// The sink's pin takes the types we convert, in either block, one
// connection at a time and only while stopped.
TEST(FrameSink, ThePinTakesOurFormatsInEitherBlockWhileStopped) {
    auto tap = std::make_shared<FrameTap>();
    ComPtr<IBaseFilter> sink = CreateFrameSink(tap), upstream = CreateFrameSink(tap);
    ComPtr<IPin> pin = FrameSinkPin(sink.Get()), connector = FrameSinkPin(upstream.Get());
    MediaType yuy2, mjpg, connected;
    MakeVideoType(yuy2, MEDIASUBTYPE_YUY2, FORMAT_VideoInfo2, 1920, 1080);
    MakeVideoType(mjpg, MEDIASUBTYPE_MJPG, FORMAT_VideoInfo, 1920, 1080);
    EXPECT_EQ(pin->QueryAccept(&mjpg), S_FALSE);
    EXPECT_EQ(pin->ReceiveConnection(connector.Get(), &mjpg), VFW_E_TYPE_NOT_ACCEPTED);
    ASSERT_EQ(sink->Pause(), S_OK);
    EXPECT_EQ(pin->ReceiveConnection(connector.Get(), &yuy2), VFW_E_NOT_STOPPED);
    ASSERT_EQ(sink->Stop(), S_OK);
    ASSERT_EQ(pin->ReceiveConnection(connector.Get(), &yuy2), S_OK);
    EXPECT_EQ(pin->ReceiveConnection(connector.Get(), &yuy2), VFW_E_ALREADY_CONNECTED);
    ASSERT_EQ(pin->ConnectionMediaType(&connected), S_OK);
    EXPECT_EQ(connected.formattype, FORMAT_VideoInfo2);
    EXPECT_EQ(VideoHeaderOf(connected)->biWidth, 1920);
    ASSERT_EQ(sink->Run(0), S_OK);
    EXPECT_EQ(pin->Disconnect(), VFW_E_NOT_STOPPED);
    ASSERT_EQ(sink->Stop(), S_OK);
    EXPECT_EQ(pin->Disconnect(), S_OK);
    ComPtr<IPin> none;
    EXPECT_EQ(pin->ConnectedTo(&none), VFW_E_NOT_CONNECTED);
}

// Frames reach the tap only while the filter runs or is paused; a type that
// comes with a sample (another size, a stride, a source rectangle) holds from
// that sample on; Stop waits for a Receive in progress, and none is taken after.
TEST(FrameSink, FramesFollowTheTypeTheyComeWithAndStopWaitsForReceive) {
    auto tap = std::make_shared<FrameTap>();
    ComPtr<IBaseFilter> sink = CreateFrameSink(tap), upstream = CreateFrameSink(tap);
    ComPtr<IPin> pin = FrameSinkPin(sink.Get());
    ComPtr<IMemInputPin> input;
    ASSERT_EQ(pin.As(&input), S_OK);
    const SampleLayout first{PixelFormat::Rgb24, 640, 480, true},
        second{PixelFormat::Rgb24, 400, 240, true, {40, 0, 360, 240}};
    MediaType type, changed;
    MakeVideoType(type, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 640, 480);
    MakeVideoType(changed, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, 400, 240, second.visible);
    ASSERT_EQ(pin->ReceiveConnection(FrameSinkPin(upstream.Get()).Get(), &type), S_OK);

    EXPECT_EQ(input->Receive(SampleOf(first).Get()), VFW_E_WRONG_STATE);
    EXPECT_EQ(tap->SampleCount(), 0u);
    ASSERT_EQ(sink->Run(0), S_OK);
    BitmapPixels picture;
    for (auto [layout, attached] : {std::pair{first, (AM_MEDIA_TYPE*)nullptr}, {second, &changed}, {second, nullptr}}) {
        SCOPED_TRACE(testing::Message() << layout.width << (attached ? " with its type" : ""));
        picture = {};
        EXPECT_EQ(input->Receive(SampleOf(layout, attached).Get()), S_OK);
        ASSERT_TRUE(tap->LatestFrame(picture));
        ExpectPreviewOfPattern(picture, layout.format);
    }
    EXPECT_EQ(tap->SampleCount(), 3u);
    MediaType connected;
    ASSERT_EQ(pin->ConnectionMediaType(&connected), S_OK);
    EXPECT_EQ(VideoHeaderOf(connected)->biWidth, 400);

    auto* blocked = new FakeSample(MakeSample(second), nullptr);
    ComPtr<IMediaSample> sample = AdoptReference<IMediaSample>(blocked);
    UniqueEvent entered(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    blocked->entered = entered.get();
    blocked->release = release.get();
    std::atomic<bool> stopped{false};
    std::thread streaming([&] { EXPECT_EQ(input->Receive(sample.Get()), S_OK); });
    ASSERT_EQ(WaitForSingleObject(entered.get(), 5000), WAIT_OBJECT_0);
    std::thread stopping([&] {
        sink->Stop();
        stopped = true;
    });
    Sleep(200);
    EXPECT_FALSE(stopped) << "Stop returned while a Receive was in progress";
    SetEvent(release.get());
    streaming.join();
    stopping.join();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(tap->SampleCount(), 4u);
    EXPECT_EQ(input->Receive(SampleOf(second).Get()), VFW_E_WRONG_STATE);
    pin->Disconnect();
}

// The format table: each of our conversions is read back from the row of its
// own subtype, and a subtype outside the table is converted by the system.
TEST(CameraFormats, EachConversionHasTheRowOfItsSubtype) {
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Rgb32, PixelFormat::Yuy2, PixelFormat::Nv12,
                               PixelFormat::Rgb565, PixelFormat::Rgb555}) {
        const CameraFormat& row = CameraFormatOf(format);
        EXPECT_EQ(row.converter, format);
        EXPECT_EQ(PixelFormatOf(row.subtype), format);
        EXPECT_LT(PreferenceOf(row.subtype), kOtherPreference);
    }
    EXPECT_FALSE(PixelFormatOf(MEDIASUBTYPE_MJPG));
    EXPECT_EQ(PreferenceOf(MEDIASUBTYPE_MJPG), kOtherPreference);
}

TEST(FormatChoice, FourByThreeAt320x240OrTheSmallestAboveWithOurOwnConversionsFirst) {
    const GUID rgb = MEDIASUBTYPE_RGB24, yuy2 = MEDIASUBTYPE_YUY2, mjpg = MEDIASUBTYPE_MJPG;
    struct Case {
        std::vector<OfferedFormat> offered;
        std::optional<size_t> chosen;
    } cases[] = {
        {{{rgb, 640, 480}, {rgb, 320, 240}, {rgb, 1280, 720}}, 1},
        {{{mjpg, 320, 240}, {yuy2, 320, 240}}, 1},
        {{{rgb, 1280, 720}, {yuy2, 1024, 768}, {mjpg, 640, 480}}, 2},
        {{{rgb, 160, 120}, {rgb, 1280, 720}}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ChoosePreviewFormat(c.offered), c.chosen);
}

// What a refused start tells the user: access denied (privacy settings or
// security software, from whichever step) apart from a device that went and
// one that another program holds.
TEST(CameraProblem, ARefusedStartIsToldByItsCause) {
    const struct {
        HRESULT hr;
        const wchar_t* text;
    } cases[] = {
        {E_ACCESSDENIED, L"摄像头被系统隐私设置或安全软件阻止"},
        {HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), L"未找到摄像头"},
        {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"未找到摄像头"},
        {HRESULT_FROM_WIN32(ERROR_BUSY), L"摄像头正被其他程序使用"},
        {E_FAIL, L"摄像头正被其他程序使用"},
    };
    for (auto c : cases) EXPECT_STREQ(ProblemText(ProblemOfRunFailure(c.hr)), c.text) << std::hex << c.hr;
}

// Larger photos want a format whose middle 4:3 area holds 320 x 240 times the
// scale: the smallest such, of any shape; what the formats allow at most.
TEST(FormatChoice, LargerPhotosAskForTheSmallestFormatWithTheDetail) {
    const GUID rgb = MEDIASUBTYPE_RGB24, yuy2 = MEDIASUBTYPE_YUY2;
    const std::vector<OfferedFormat> camera = {
        {rgb, 640, 480}, {yuy2, 1280, 720}, {rgb, 1280, 720}, {rgb, 320, 240}, {rgb, 1920, 1080}};
    const struct {
        std::vector<OfferedFormat> offered;
        int scale;
        std::optional<size_t> chosen;
        DetailOffered largest;
    } cases[] = {
        {camera, 1, 3, {4, 1920, 1080}},
        {camera, 2, 0, {}},
        {camera, 3, 2, {}},                                         // 960 x 720 in the middle; RGB24 first
        {{{rgb, 320, 240}}, 2, std::nullopt, {1, 320, 240}},        // a 320 x 240-only camera
        {{{rgb, 848, 480}, {rgb, 640, 360}}, 2, 0, {2, 848, 480}},  // 640 x 480 in the middle of 848 x 480
        {{}, 2, std::nullopt, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offered.size() << " formats, scale " << c.scale);
        EXPECT_EQ(ChooseFormatFor(c.offered, c.scale), c.chosen);
        if (c.largest.width == 0 && !c.offered.empty()) continue;
        DetailOffered largest = LargestDetail(c.offered);
        EXPECT_EQ(largest.scale, std::min(c.largest.scale, 3));
        EXPECT_EQ(largest.width, c.largest.width);
        EXPECT_EQ(largest.height, c.largest.height);
    }
}

// Frame rate first: among the formats that hold the detail, one whose caps
// reach 15 frames a second wins over any that does not; among those the
// choice is as without rates. The chosen rate is 15 a second where the caps
// allow it, else the nearest they do.
TEST(FormatChoice, AFormatThatReachesFifteenFramesASecondIsPreferred) {
    const GUID yuy2 = MEDIASUBTYPE_YUY2, mjpg = MEDIASUBTYPE_MJPG, rgb = MEDIASUBTYPE_RGB24;
    constexpr int64_t fps30 = 333333, fps15 = 666666, fps5 = 2000000, fps10 = 1000000;
    const struct {
        std::vector<OfferedFormat> offered;
        int scale;
        std::optional<size_t> chosen;
        int64_t interval;  // asked of the chosen format
    } cases[] = {
        // USB 2: YUY2 at 1080p gives 5 fps, MJPG 30; ours would win on preference alone.
        {{{yuy2, 1920, 1080, fps5, fps5}, {mjpg, 1920, 1080, fps30, fps5}}, 3, 1, fps15},
        // A fast larger format before a slow smaller one.
        {{{yuy2, 1280, 720, fps10, fps10}, {mjpg, 1920, 1080, fps30, fps30}}, 3, 1, fps30},
        // Both fast, or both slow: as without rates (the smaller, then ours).
        {{{mjpg, 1280, 720, fps30, fps5}, {yuy2, 1280, 720, fps15, fps5}}, 3, 1, fps15},
        {{{mjpg, 1920, 1080, fps10, fps10}, {yuy2, 1920, 1080, fps5, fps5}}, 3, 1, fps5},
        // Caps that do not say count as fast, and the type keeps its own rate.
        {{{yuy2, 1920, 1080, fps5, fps5}, {rgb, 1920, 1080}}, 3, 1, 0},
        // The preview's choice too.
        {{{yuy2, 320, 240, fps10, fps10}, {mjpg, 640, 480, fps30, fps30}}, 1, 1, fps30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offered.size() << " formats, scale " << c.scale);
        std::optional<size_t> chosen = ChooseFormatFor(c.offered, c.scale);
        ASSERT_EQ(chosen, c.chosen);
        EXPECT_EQ(FrameIntervalFor(c.offered[*chosen]), c.interval);
    }
}

}  // namespace
}  // namespace vardolin::capture::test
