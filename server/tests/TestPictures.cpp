#include "server/tests/TestPictures.h"

// GDI+ needs the COM interfaces declared before its own headers.
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vardolin::test {

Picture Picture::Crop(int32_t left, int32_t top, int32_t cropWidth, int32_t cropHeight) const {
    Picture part{cropWidth, cropHeight, {}};
    for (int32_t y = 0; y < cropHeight; ++y) {
        const uint8_t* row = Pixel(left, top + y);
        part.rgb.insert(part.rgb.end(), row, row + 3 * cropWidth);
    }
    return part;
}

Picture Pattern(int32_t width, int32_t height, bool noise) {
    Picture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u; };
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* pixel = &picture.rgb[(static_cast<size_t>(y) * width + x) * 3];
            int jitter = noise ? static_cast<int>((next() >> 16) % 64) - 32 : 0;
            pixel[0] = static_cast<uint8_t>(std::clamp(40 + x * 180 / width + jitter, 0, 255));
            pixel[1] = static_cast<uint8_t>(std::clamp(60 + y * 160 / height - jitter, 0, 255));
            pixel[2] = static_cast<uint8_t>(std::clamp(200 - (x + y) * 150 / (width + height) + jitter / 2, 0, 255));
        }
    }
    return picture;
}

PictureDC::PictureDC(const Picture& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Dc = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!Dc || !Bitmap) throw std::runtime_error("cannot create the test picture's DC");
    Previous = SelectObject(Dc, Bitmap);
    auto* out = static_cast<uint8_t*>(bits);
    for (size_t i = 0; i < picture.rgb.size() / 3; ++i) {
        out[4 * i + 0] = picture.rgb[3 * i + 2];
        out[4 * i + 1] = picture.rgb[3 * i + 1];
        out[4 * i + 2] = picture.rgb[3 * i + 0];
        out[4 * i + 3] = 0;
    }
    GdiFlush();
}

PictureDC::~PictureDC() {
    if (Previous) SelectObject(Dc, Previous);
    if (Bitmap) DeleteObject(Bitmap);
    if (Dc) DeleteDC(Dc);
}

Picture DecodeJpeg(const std::filesystem::path& file) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) throw std::runtime_error("GDI+ failed");
    Picture picture;
    {
        Gdiplus::Bitmap bitmap(file.c_str());
        if (bitmap.GetLastStatus() == Gdiplus::Ok) {
            picture.width = static_cast<int32_t>(bitmap.GetWidth());
            picture.height = static_cast<int32_t>(bitmap.GetHeight());
            Gdiplus::BitmapData data{};
            Gdiplus::Rect all(0, 0, picture.width, picture.height);
            bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data);
            for (int32_t y = 0; y < picture.height; ++y) {
                const auto* row = static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
                for (int32_t x = 0; x < picture.width; ++x)
                    picture.rgb.insert(picture.rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
            }
            bitmap.UnlockBits(&data);
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return picture;
}

double MeanAbsoluteDifference(const Picture& a, const Picture& b) {
    if (a.rgb.size() != b.rgb.size() || a.rgb.empty()) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int{a.rgb[i]} - int{b.rgb[i]});
    return sum / static_cast<double>(a.rgb.size());
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WritePpm(const std::filesystem::path& file, const Picture& picture) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
}

TempFolder::TempFolder() {
    static int counter = 0;
    Path = std::filesystem::temp_directory_path() /
           (L"vardolin-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    std::filesystem::create_directories(Path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
}

}  // namespace vardolin::test
