// Camera samples into the preview picture: every pixel format and row order,
// aspect ratios cropped not stretched; and the format asked of a camera.
#include "capture/camera/FormatChoice.h"
#include "capture/camera/PreviewScaler.h"

#include "capture/camera/CameraProblem.h"

#include <gtest/gtest.h>

#include <uuids.h>

#include <cstdlib>
#include <vector>

namespace vardolin::capture::test {
namespace {

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

std::vector<uint8_t> MakeSample(const SampleLayout& l) {
    std::vector<uint8_t> s(SampleBytes(l));
    int w = l.width, h = l.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Bgr c = PatternAt(x, y, w, h);
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

TEST(PreviewScaler, EveryFormatAndShapeGivesTheWholePictureRightWayUp) {
    const SampleLayout cases[] = {
        {PixelFormat::Rgb24, 640, 480, true},  {PixelFormat::Rgb24, 640, 480, false},
        {PixelFormat::Rgb32, 320, 240, true},  {PixelFormat::Yuy2, 1280, 720, false},
        {PixelFormat::Nv12, 1280, 720, false}, {PixelFormat::Rgb24, 1920, 1080, true},
        {PixelFormat::Yuy2, 640, 640, false},  {PixelFormat::Rgb24, 160, 120, true},
        {PixelFormat::Nv12, 328, 240, false},
    };
    PreviewScaler scaler;
    BitmapPixels picture;
    for (const SampleLayout& layout : cases) {
        SCOPED_TRACE(testing::Message() << int(layout.format) << " " << layout.width << "x" << layout.height
                                        << (layout.bottomUp ? " bottom-up" : " top-down"));
        std::vector<uint8_t> sample = MakeSample(layout);
        ASSERT_TRUE(scaler.Convert(layout, sample.data(), sample.size(), picture));
        ASSERT_EQ(picture.width, kPreviewWidth);
        ASSERT_EQ(picture.height, kPreviewHeight);
        int tolerance = layout.format == PixelFormat::Rgb24 || layout.format == PixelFormat::Rgb32 ? 0 : 4;
        // Quadrant centres and the outermost pixels: the pattern, never the cropped-away magenta.
        for (auto [x, y] : {std::pair{80, 60}, {240, 60}, {80, 180}, {240, 180}, {0, 0}, {319, 239}, {319, 0}}) {
            Bgr want = PatternAt(x, y, kPreviewWidth, kPreviewHeight);
            const uint8_t* got = picture.Row(y) + 3 * x;
            EXPECT_NEAR(got[0], want.b, tolerance) << x << "," << y;
            EXPECT_NEAR(got[1], want.g, tolerance) << x << "," << y;
            EXPECT_NEAR(got[2], want.r, tolerance) << x << "," << y;
        }
        EXPECT_FALSE(scaler.Convert(layout, sample.data(), sample.size() - 1, picture));
    }
}

TEST(PreviewScaler, UnusableHeadersAreRefused) {
    auto header = [](int w, int h) {
        BITMAPINFOHEADER b{};
        b.biWidth = w;
        b.biHeight = h;
        return b;
    };
    EXPECT_FALSE(LayoutOf(PixelFormat::Rgb24, header(0, 240)));
    EXPECT_FALSE(LayoutOf(PixelFormat::Yuy2, header(321, 240)));  // YUY2 pairs pixels
    EXPECT_FALSE(LayoutOf(PixelFormat::Nv12, header(320, 241)));
    EXPECT_FALSE(LayoutOf(PixelFormat::Rgb24, header(100000, 240)));
    EXPECT_TRUE(LayoutOf(PixelFormat::Rgb24, header(320, -240))->bottomUp == false);
    EXPECT_TRUE(LayoutOf(PixelFormat::Yuy2, header(320, 240))->bottomUp == false);  // YUV is always top-down
    EXPECT_FALSE(PixelFormatOf(MEDIASUBTYPE_MJPG));
}

// The format table: each of our conversions is read back from the row of its
// own subtype, and a subtype outside the table is converted by the system.
TEST(CameraFormats, EachConversionHasTheRowOfItsSubtype) {
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Rgb32, PixelFormat::Yuy2, PixelFormat::Nv12}) {
        const CameraFormat& row = CameraFormatOf(format);
        EXPECT_EQ(row.converter, format);
        EXPECT_EQ(PixelFormatOf(row.subtype), format);
        EXPECT_LT(PreferenceOf(row.subtype), kOtherPreference);
    }
    EXPECT_FALSE(PixelFormatOf(MEDIASUBTYPE_RGB565));
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
    EXPECT_EQ(GrabberSubtypeFor(yuy2), yuy2);
    EXPECT_EQ(GrabberSubtypeFor(mjpg), rgb);  // the system's decoder goes in between
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

}  // namespace
}  // namespace vardolin::capture::test
