#include "tests/PhotoCompare.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vardolin::capture::test {
namespace {

struct GdiPlus {
    GdiPlus() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    ~GdiPlus() { Gdiplus::GdiplusShutdown(token); }
    ULONG_PTR token = 0;
};

bool SameSize(const BitmapPixels& a, const BitmapPixels& b) {
    return a.width == b.width && a.height == b.height && !a.Empty();
}

}  // namespace

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
    if (!SameSize(a, b)) return 256;
    int largest = 0;
    for (int y = 0; y < a.height; ++y)
        for (int i = 0; i < 3 * a.width; ++i) largest = std::max(largest, std::abs(a.Row(y)[i] - b.Row(y)[i]));
    return largest;
}

double MeanDifference(const BitmapPixels& a, const BitmapPixels& b) {
    if (!SameSize(a, b)) return 256;
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
