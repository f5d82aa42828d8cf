// Photos larger than the designed 156 x 188, cut from the camera's full
// detail; at the designed size the stored bytes stay as they were.
#include "capture/photo/tests/PhotoWindowTest.h"

#include "tests/DialogAnswer.h"
#include "win/Settings.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/VideoDevices.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace vardolin::capture::test {
namespace {

using PhotoSizeTest = PhotoWindowTest;
using namespace std::chrono_literals;

// The box of source pixels each target pixel covers, averaged (the target
// may also be larger: then each source pixel is repeated).
BitmapPixels Resampled(const BitmapPixels& source, RECT box, int width, int height) {
    BitmapPixels out;
    out.Resize(width, height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            int x0 = box.left + i * (box.right - box.left) / width,
                x1 = box.left + (i + 1) * (box.right - box.left) / width;
            int y0 = box.top + j * (box.bottom - box.top) / height,
                y1 = box.top + (j + 1) * (box.bottom - box.top) / height;
            x1 = std::max(x1, x0 + 1), y1 = std::max(y1, y0 + 1);
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int y = y0; y < y1; ++y)
                    for (int x = x0; x < x1; ++x) sum += source.Row(y)[3 * x + c];
                out.Row(j)[3 * i + c] =
                    static_cast<uint8_t>((sum + (x1 - x0) * (y1 - y0) / 2) / ((x1 - x0) * (y1 - y0)));
            }
        }
    return out;
}

// The demo scene at time 0 as the camera sends it at width x height, its
// middle 4:3 area.
BitmapPixels SceneDetail(int width, int height) {
    int cropWidth = std::min(width, height * 4 / 3);
    RECT middle{(width - cropWidth) / 2, 0, (width + cropWidth) / 2, height};
    return Resampled(DemoScene(0ms, democam::Scene::Portrait, width, height), middle, cropWidth, height);
}

double Psnr(const BitmapPixels& a, const BitmapPixels& b) {
    double squares = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < 3 * a.width; ++x) squares += std::pow(a.Row(y)[x] - b.Row(y)[x], 2);
    return 10 * std::log10(255.0 * 255.0 / (squares / (3.0 * a.width * a.height) + 1e-9));
}

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(PhotoSizeTest, LargerPhotosAreCutFromTheCamerasFullDetailAndTheDesignedSizeIsAsBefore) {
    const struct {
        std::optional<int> scale;  // nothing: never chosen
        SIZE detail;               // the still's full detail: the smallest camera format that holds the scale
    } cases[] = {{std::nullopt, {0, 0}}, {1, {0, 0}}, {2, {640, 480}}, {3, {960, 720}}};
    std::string designed;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale.value_or(0));
        Window().Unload();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoScaleValue);
        if (c.scale) RememberPhotoScale(*c.scale);
        ShowWindowWithCamera();
        AddEntries({L"P"});
        TakePhotoAndCrop();
        RECT crop = Frame();
        auto storing = std::chrono::steady_clock::now();
        Click(ControlId::Command1);
        auto stored_in =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - storing);
        std::filesystem::path file = PicFolder() / L"P.jpg";
        int k = c.scale.value_or(1);
        BitmapPixels stored = DecodeJpeg(file);
        ASSERT_EQ(stored.width, 156 * k);
        ASSERT_EQ(stored.height, 188 * k);
        std::shared_ptr<const BitmapPixels> detail = Window().Camera()->StillDetail();
        if (k == 1) {
            EXPECT_FALSE(detail);
            if (designed.empty()) designed = Bytes(file);
            else EXPECT_EQ(Bytes(file), designed) << "the option at 1 stores what was stored without it";
        } else {
            ASSERT_TRUE(detail);
            ASSERT_EQ(detail->width, c.detail.cx);
            ASSERT_EQ(detail->height, c.detail.cy);
            int frameWidth = k == 3 ? 1280 : 640;  // 960 x 720 is the middle of 1280 x 720
            BitmapPixels scene = SceneDetail(frameWidth, c.detail.cy);
            EXPECT_LT(MeanDifference(*detail, scene), 3.0);
            RECT block{crop.left * detail->width / 320, crop.top * detail->height / 240,
                       crop.right * detail->width / 320, crop.bottom * detail->height / 240};
            BitmapPixels truth = Resampled(scene, block, stored.width, stored.height);
            BitmapPixels enlarged = Resampled(DemoScene(0ms), crop, stored.width, stored.height);
            double ours = Psnr(stored, truth), fromStill = Psnr(enlarged, truth);
            std::cout << "scale " << k << ": stored in " << stored_in.count() << " ms, " << ours
                      << " dB against the scene, an enlarged 156 x 188 crop " << fromStill << " dB" << std::endl;
            EXPECT_GT(ours, fromStill + 3.0);
        }
        RemovePhotoFiles();
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoScaleValue);
}

// The size is chosen in the source dialog: OK remembers it, Cancel keeps
// what was remembered.
TEST_F(PhotoSizeTest, TheSourceDialogRemembersThePhotoSizeOnOkOnly) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoScaleValue);
    const struct {
        int choose;
        int button;
        int after;
    } cases[] = {{2, IDOK, 2}, {3, IDCANCEL, 2}, {3, IDOK, 3}, {1, IDOK, 1}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.choose << " " << c.button);
        DialogAnswer answer(kSourceDialogTitle, [&](HWND dialog) {
            for (int scale = 1; scale <= 3; ++scale)
                EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, chooser_control::kPhotoSize + scale - 1)));
            SendDlgItemMessageW(dialog, chooser_control::kPhotoSize + c.choose - 1, BM_CLICK, 0, 0);
            SendMessageW(dialog, WM_COMMAND, c.button, 0);
        });
        Click(ControlId::CmdSourceDlg);
        EXPECT_TRUE(answer.Answered());
        EXPECT_EQ(PhotoScale(), c.after);
        ASSERT_TRUE(PumpUntil([&] { return Window().Camera()->Problem().empty(); }));
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoScaleValue);
}

// A camera offers the larger photo sizes only with the detail for them; the
// dialog names its largest picture otherwise.
TEST_F(PhotoSizeTest, TheSourceDialogOffersOnlyThePhotoSizesTheCameraHasTheDetailFor) {
    const struct {
        const wchar_t* sizes;
        int largest;  // the largest photo scale offered
        const wchar_t* note;
    } cases[] = {
        {L"", 3, L""},
        {L"sizes=320x240", 1, L"此摄像头最大 320 x 240，无法提供更大的照片"},
        {L"sizes=640x480,320x240", 2, L"此摄像头最大 640 x 480，无法提供更大的照片"},
        {L"sizes=320x240,1280x720", 3, L""},  // 960 x 720 of its middle
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "sizes " << std::string(c.sizes, c.sizes + wcslen(c.sizes)));
        Window().Unload();
        cameraSwitches_.Set(std::wstring(L"time=0;") + c.sizes);
        ShowWindowWithCamera();
        DialogAnswer answer(kSourceDialogTitle, [&](HWND dialog) {
            for (int scale = 1; scale <= 3; ++scale)
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, chooser_control::kPhotoSize + scale - 1)) != FALSE,
                          scale <= c.largest)
                    << scale;
            wchar_t note[200] = {};
            GetDlgItemTextW(dialog, chooser_control::kPhotoSizeNote, note, 200);
            EXPECT_EQ(std::wstring(note), c.note);
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Click(ControlId::CmdSourceDlg);
        EXPECT_TRUE(answer.Answered());
    }
}

}  // namespace
}  // namespace vardolin::capture::test
