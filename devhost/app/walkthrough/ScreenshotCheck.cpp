#include "devhost/app/walkthrough/ScreenshotCheck.h"

#include "autoframe/FaceDetector.h"
#include "autoframe/FramePlacement.h"
#include "capture/GetPICLayout.h"
#include "devhost/app/walkthrough/RemoteWindow.h"
#include "devhost/app/walkthrough/Walkthrough.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace vardolin::devhost::walkthrough {
namespace {

using capture::ControlId;
constexpr int kCropWidth = autoframe::kCropFrameSize.width;
constexpr int kCropHeight = autoframe::kCropFrameSize.height;
constexpr int kDarkLevel = 70;            // an outline or text pixel: every channel below this
constexpr double kSamePictureLevel = 10;  // mean difference per channel of "the same picture"
// The frame's outline over the face may move what the finder sees a little.
constexpr int kFaceFrameTolerance = 4;

struct GdiPlusSession {
    GdiPlusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    ~GdiPlusSession() { Gdiplus::GdiplusShutdown(token); }
    ULONG_PTR token = 0;
};

// A decoded picture, 0xAARRGGBB per pixel.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

std::optional<Pixels> Decode(const std::filesystem::path& file) {
    Gdiplus::Bitmap bitmap(file.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
    Pixels pixels{static_cast<int>(bitmap.GetWidth()), static_cast<int>(bitmap.GetHeight()), {}};
    pixels.argb.resize(static_cast<size_t>(pixels.width) * pixels.height);
    Gdiplus::Rect all(0, 0, pixels.width, pixels.height);
    Gdiplus::BitmapData data{};
    data.Width = pixels.width, data.Height = pixels.height, data.Stride = pixels.width * 4;
    data.PixelFormat = PixelFormat32bppARGB, data.Scan0 = pixels.argb.data();
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                        &data) != Gdiplus::Ok)
        return std::nullopt;
    bitmap.UnlockBits(&data);
    return pixels;
}

bool Dark(uint32_t argb) {
    return ((argb >> 16) & 0xFF) < kDarkLevel && ((argb >> 8) & 0xFF) < kDarkLevel && (argb & 0xFF) < kDarkLevel;
}

// Mean difference per channel between two equally sized blocks.
double MeanDifference(const Pixels& a, POINT atA, const Pixels& b, POINT atB, SIZE size) {
    double sum = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            uint32_t p = a.At(atA.x + x, atA.y + y), q = b.At(atB.x + x, atB.y + y);
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF));
        }
    return sum / (3.0 * size.cx * size.cy);
}

// Each k x k block of the picture averaged into one pixel.
Pixels Downscaled(const Pixels& picture, int k) {
    Pixels out{picture.width / k, picture.height / k, {}};
    out.argb.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            uint32_t pixel = 0xFF000000;
            for (int shift : {0, 8, 16}) {
                int sum = 0;
                for (int dy = 0; dy < k; ++dy)
                    for (int dx = 0; dx < k; ++dx) sum += (picture.At(k * x + dx, k * y + dy) >> shift) & 0xFF;
                pixel |= static_cast<uint32_t>((sum + k * k / 2) / (k * k)) << shift;
            }
            out.argb[static_cast<size_t>(y) * out.width + x] = pixel;
        }
    return out;
}

// The photo size the user chose in the source dialog: 1, 2 or 3 times the
// designed size.
int ChosenPhotoScale() {
    DWORD scale = 1, size = sizeof scale;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Vardolin", L"PhotoScale", RRF_RT_REG_DWORD, nullptr, &scale,
                     &size) != ERROR_SUCCESS ||
        scale < 1 || scale > 3)
        scale = 1;
    return static_cast<int>(scale);
}

RECT ClientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Inside(const Pixels& shot, const RECT& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= shot.width && r.bottom <= shot.height && r.left < r.right &&
           r.top < r.bottom;
}

// The top-left corner of a dark 156 x 188 outline inside the area.
std::optional<POINT> FindCropFrame(const Pixels& shot, const RECT& area) {
    auto outlineAt = [&](int left, int top) {
        for (int x = 0; x < kCropWidth; ++x)
            if (!Dark(shot.At(left + x, top)) || !Dark(shot.At(left + x, top + kCropHeight - 1))) return false;
        for (int y = 0; y < kCropHeight; ++y)
            if (!Dark(shot.At(left, top + y)) || !Dark(shot.At(left + kCropWidth - 1, top + y))) return false;
        return true;
    };
    for (int top = area.top; top + kCropHeight <= area.bottom; ++top)
        for (int left = area.left; left + kCropWidth <= area.right; ++left)
            if (outlineAt(left, top)) return POINT{left, top};
    return std::nullopt;
}

// Where the frame goes for the largest face in the area, in screen pixels.
std::optional<POINT> FramePlaceForFace(const Pixels& shot, const RECT& area) {
    int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<uint8_t> bgr(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t p = shot.At(area.left + x, area.top + y);
            uint8_t* out = &bgr[(static_cast<size_t>(y) * width + x) * 3];
            out[0] = p & 0xFF, out[1] = (p >> 8) & 0xFF, out[2] = (p >> 16) & 0xFF;
        }
    autoframe::GreyPicture grey =
        autoframe::GreyFromBgr(bgr.data(), width, height, static_cast<size_t>(width) * 3, autoframe::RowOrder::TopDown);
    std::vector<autoframe::FaceBox> faces = autoframe::FindFaces(grey);
    std::optional<autoframe::FaceBox> face = autoframe::LargestFace(faces);
    if (!face) return std::nullopt;
    autoframe::FramePlacement place = autoframe::PlaceFrame(*face, {kCropWidth, kCropHeight}, {width, height});
    return POINT{area.left + place.left, area.top + place.top};
}

// The green of the roster's check before a done name.
int CheckPixels(const Pixels& shot, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            uint32_t p = shot.At(x, y);
            int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
            count += green > 120 && red < 60 && blue < 100;
        }
    return count;
}

int DarkPixels(const Pixels& shot, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += Dark(shot.At(x, y));
    return count;
}

class Checker {
public:
    std::vector<std::wstring> failures;

    void Expect(bool holds, const std::wstring& failure) {
        if (!holds) failures.push_back(failure);
    }
};

}  // namespace

std::vector<std::wstring> CheckScreenshot(const std::filesystem::path& png, const std::filesystem::path& lastPhoto,
                                          bool frameOnFace) {
    GdiPlusSession gdiplus;
    Checker check;
    std::optional<Pixels> shot = Decode(png);
    if (!shot) return {L"the screenshot cannot be read"};
    check.Expect(
        shot->width == GetSystemMetrics(SM_CXVIRTUALSCREEN) && shot->height == GetSystemMetrics(SM_CYVIRTUALSCREEN),
        L"the screenshot is not the size of the screen");

    HWND window = FindVisibleWindow(kCaptureWindowClass);
    if (!window) return {L"no capture window on the screen"};
    HWND list = GetDlgItem(window, static_cast<int>(ControlId::List1));
    RECT listArea = ClientOnScreen(list);
    RECT stillArea = ClientOnScreen(GetDlgItem(window, static_cast<int>(ControlId::Picture1)));
    RECT previewArea = ClientOnScreen(GetDlgItem(window, static_cast<int>(ControlId::Picture2)));
    if (!Inside(*shot, listArea) || !Inside(*shot, stillArea) || !Inside(*shot, previewArea))
        return {L"the capture window is not wholly on the screen"};

    check.Expect(Send(list, LB_GETCOUNT) > 0, L"the roster is empty at the end");
    // About 200 dark text pixels make one name at this size.
    check.Expect(DarkPixels(*shot, listArea) > 200, L"the screenshot shows no names in the roster");
    // The names photographed are back on the roster with their green check.
    check.Expect(CheckPixels(*shot, listArea) > 30, L"the screenshot shows no name marked as done");

    std::optional<POINT> frame = FindCropFrame(*shot, stillArea);
    check.Expect(frame.has_value(), L"the screenshot shows no crop frame over the still photo");
    if (frame) {
        POINT atLoad{stillArea.left + capture::kCropFrameAtLoad.left, stillArea.top + capture::kCropFrameAtLoad.top};
        check.Expect(frame->x != atLoad.x || frame->y != atLoad.y, L"the crop frame was not moved");
        // Inside the outline the preview shows what the frame covers.
        POINT inner{frame->x + 1, frame->y + 1};
        POINT preview{previewArea.left + 1, previewArea.top + 1};
        double difference = MeanDifference(*shot, inner, *shot, preview, {kCropWidth - 2, kCropHeight - 2});
        check.Expect(difference < kSamePictureLevel, L"the crop preview differs from the pixels under the frame");
    }
    if (frameOnFace) {
        std::optional<POINT> onFace = FramePlaceForFace(*shot, stillArea);
        check.Expect(onFace.has_value(), L"the still on the screen shows no face");
        if (frame && onFace)
            check.Expect(std::abs(frame->x - onFace->x) <= kFaceFrameTolerance &&
                             std::abs(frame->y - onFace->y) <= kFaceFrameTolerance,
                         L"the crop frame is not where the face finder puts it");
    }

    // The last photo is the chosen size; brought down to the designed size
    // it shows what the crop preview shows.
    int k = ChosenPhotoScale();
    std::optional<Pixels> photo = Decode(lastPhoto);
    bool sized = photo && photo->width == k * kCropWidth && photo->height == k * kCropHeight;
    check.Expect(sized, L"the last photo does not decode to " + std::to_wstring(k * kCropWidth) + L" x " +
                            std::to_wstring(k * kCropHeight) + L" pixels");
    if (sized) {
        double difference =
            MeanDifference(Downscaled(*photo, k), {1, 1}, *shot, {previewArea.left + 1, previewArea.top + 1},
                           {kCropWidth - 2, kCropHeight - 2});
        check.Expect(difference < kSamePictureLevel, L"the last photo differs from the crop preview on the screen");
    }
    return check.failures;
}

}  // namespace vardolin::devhost::walkthrough
