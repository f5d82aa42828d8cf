#include "PhotoWindowTest.h"

#include "GetPICExtensions.h"
#include "PhotoFiles.h"
#include "Settings.h"
#include "camera/VideoCaptureControl.h"
#include "photo/PhotoCapture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>

namespace vardolin::capture::test {
namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

struct GdiPlus {
    GdiPlus() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    ~GdiPlus() { Gdiplus::GdiplusShutdown(token); }
    ULONG_PTR token = 0;
};

}  // namespace

PhotoWindowTest::PhotoWindowTest()
    : answerMessages_([this](HWND, const std::wstring& text, const std::wstring& caption, UINT type) {
          messages_.push_back({text, caption, type});
          return IDOK;
      }) {
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
    RemovePhotoFiles();
    AttachPhotoCapture(Extensions());
    InstallCameraControl([this](HWND parent, const RECT& bounds, int id) {
        auto camera = std::make_shared<SimulatedCamera>([this] { return cameraTime_; });
        camera_ = camera.get();
        return CreateVideoCaptureControl(parent, bounds, id, camera);
    });
    Window().Show();
    Pump();
}

PhotoWindowTest::~PhotoWindowTest() {
    Window().Unload();
    InstallCameraControl({});
    RemovePhotoFiles();
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
}

std::wstring PhotoWindowTest::Text(ControlId id) {
    HWND control = Control(id);
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
    return text;
}

void PhotoWindowTest::AddEntries(std::initializer_list<const wchar_t*> entries) {
    for (const wchar_t* entry : entries)
        SendMessageW(Control(ControlId::List1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

std::vector<std::wstring> PhotoWindowTest::Entries() {
    HWND list = Control(ControlId::List1);
    std::vector<std::wstring> entries;
    for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        std::wstring text(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        text.resize(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        entries.push_back(text);
    }
    return entries;
}

void PhotoWindowTest::Drag(POINT from, POINT to) {
    HWND box = Control(ControlId::Picture1);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump();
}

void PhotoWindowTest::TakePhotoAndCrop() {
    Click(ControlId::CmdSaveDIB);
    RECT frame = Frame();
    POINT centre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    Drag(centre, centre);
}

std::filesystem::path PhotoWindowTest::PicFolder() { return LibraryFolder() / L"Pic"; }

void PhotoWindowTest::RemovePhotoFiles() {
    std::error_code ignored;
    if (std::filesystem::is_directory(PicFolder(), ignored))
        for (const auto& file : std::filesystem::directory_iterator(PicFolder(), ignored))
            SetFileAttributesW(file.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(PicFolder(), ignored);
    std::filesystem::remove(LibraryFolder() / L"TmpPhoto.bmp", ignored);
}

BitmapPixels DecodeJpeg(const std::filesystem::path& file) {
    GdiPlus gdiplus;
    BitmapPixels pixels;
    Gdiplus::Bitmap decoded(file.c_str());
    if (decoded.GetLastStatus() != Gdiplus::Ok) return pixels;
    pixels.Resize(static_cast<int>(decoded.GetWidth()), static_cast<int>(decoded.GetHeight()));
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            Gdiplus::Color c;
            decoded.GetPixel(x, y, &c);
            uint8_t* p = pixels.Row(y) + 3 * x;
            p[0] = c.GetB();
            p[1] = c.GetG();
            p[2] = c.GetR();
        }
    return pixels;
}

int LargestDifference(const BitmapPixels& a, const BitmapPixels& b) {
    if (a.width != b.width || a.height != b.height) return 256;
    int largest = 0;
    for (int y = 0; y < a.height; ++y)
        for (int i = 0; i < 3 * a.width; ++i) largest = std::max(largest, std::abs(a.Row(y)[i] - b.Row(y)[i]));
    return largest;
}

double MeanDifference(const BitmapPixels& a, const BitmapPixels& b) {
    if (a.width != b.width || a.height != b.height || a.Empty()) return 256;
    double sum = 0;
    for (int y = 0; y < a.height; ++y)
        for (int i = 0; i < 3 * a.width; ++i) sum += std::abs(a.Row(y)[i] - b.Row(y)[i]);
    return sum / (3.0 * a.width * a.height);
}

BitmapPixels Block(const BitmapPixels& pixels, int left, int top, int width, int height) {
    BitmapPixels block;
    block.Resize(width, height);
    for (int y = 0; y < height; ++y) std::memcpy(block.Row(y), pixels.Row(top + y) + 3 * left, 3 * width);
    return block;
}

}  // namespace vardolin::capture::test
