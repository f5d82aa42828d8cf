#include "camera/SimulatedScene.h"

#include "Win32Handles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cwchar>

namespace vardolin::capture {
namespace {

void FillBackdrop(BitmapPixels& pixels) {
    for (int y = 0; y < pixels.height; ++y) {
        double v = static_cast<double>(y) / std::max(1, pixels.height - 1);
        uint8_t* row = pixels.Row(y);
        for (int x = 0; x < pixels.width; ++x) {
            double u = static_cast<double>(x) / std::max(1, pixels.width - 1);
            row[3 * x + 0] = static_cast<uint8_t>(150 + 70 * v);           // blue
            row[3 * x + 1] = static_cast<uint8_t>(95 + 90 * v + 20 * u);    // green
            row[3 * x + 2] = static_cast<uint8_t>(60 + 110 * v + 40 * u);   // red
        }
    }
}

void FilledEllipse(HDC dc, COLORREF colour, int left, int top, int right, int bottom) {
    UniqueBrush brush(CreateSolidBrush(colour));
    ScopedSelection selected(dc, brush.get());
    Ellipse(dc, left, top, right, bottom);
}

void DrawFigure(HDC dc, int cx) {
    ScopedSelection noPen(dc, GetStockObject(NULL_PEN));
    FilledEllipse(dc, RGB(38, 70, 128), cx - 95, 150, cx + 95, 330);     // shoulders
    FilledEllipse(dc, RGB(222, 186, 158), cx - 16, 118, cx + 16, 162);   // neck
    FilledEllipse(dc, RGB(66, 44, 30), cx - 40, 34, cx + 40, 112);       // hair
    FilledEllipse(dc, RGB(230, 194, 166), cx - 35, 48, cx + 35, 140);    // face
    FilledEllipse(dc, RGB(40, 30, 30), cx - 20, 80, cx - 10, 88);        // eyes
    FilledEllipse(dc, RGB(40, 30, 30), cx + 10, 80, cx + 20, 88);
    FilledEllipse(dc, RGB(180, 90, 90), cx - 12, 115, cx + 12, 123);     // mouth
}

// Kept small in the top-left corner, clear of the crop frame's first position.
void DrawClock(HDC dc) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[16];
    swprintf(text, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    RECT box{6, 6, 82, 26};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    ScopedSelection font(dc, GetStockObject(ANSI_FIXED_FONT));
    TextOutW(dc, 10, 9, text, static_cast<int>(wcslen(text)));
}

}  // namespace

void DrawSimulatedScene(BitmapPixels& pixels, int width, int height, std::chrono::milliseconds t) {
    pixels.Resize(width, height);
    FillBackdrop(pixels);

    BITMAPINFO info{};
    info.bmiHeader = pixels.Header();
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap canvas(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !canvas || !bits) return;  // the backdrop alone is still a picture
    std::copy(pixels.bits.begin(), pixels.bits.end(), static_cast<uint8_t*>(bits));
    {
        ScopedSelection selected(dc.get(), canvas.get());
        double seconds = t.count() / 1000.0;
        DrawFigure(dc.get(), 160 + static_cast<int>(std::lround(18 * std::sin(seconds * 1.3))));
        DrawClock(dc.get());
        GdiFlush();
    }
    const uint8_t* drawn = static_cast<const uint8_t*>(bits);
    std::copy(drawn, drawn + pixels.bits.size(), pixels.bits.begin());
}

void AdjustBrightnessContrast(BitmapPixels& pixels, int brightness, int contrastPercent) {
    if (brightness == 0 && contrastPercent == 100) return;
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        long adjusted = std::lround((v - 128) * contrastPercent / 100.0) + 128 + brightness;
        table[v] = static_cast<uint8_t>(std::clamp(adjusted, 0L, 255L));
    }
    for (int y = 0; y < pixels.height; ++y) {
        uint8_t* row = pixels.Row(y);
        for (int i = 0; i < pixels.width * 3; ++i) row[i] = table[row[i]];
    }
}

}  // namespace vardolin::capture
