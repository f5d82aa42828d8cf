#include "democam/DemoScene.h"

#include "democam/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

namespace vardolin::democam {
namespace {

// Where the 320 x 240 stage lands in a frame: scaled to fit, centred.
struct StagePlacement {
    double scale;
    double left;
    double top;

    static StagePlacement For(int width, int height) {
        double scale = std::min(static_cast<double>(width) / kStageWidth, static_cast<double>(height) / kStageHeight);
        return {scale, (width - kStageWidth * scale) / 2, (height - kStageHeight * scale) / 2};
    }
};

uint8_t Channel(double value) { return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0)); }

// The backdrop is graded in stage coordinates, so every frame size shows the
// same grade; beyond the stage it continues with the edge colours.
void FillBackdrop(ScenePicture& picture, const StagePlacement& stage) {
    for (int y = 0; y < picture.height; ++y) {
        double stageY = (y + 0.5 - stage.top) / stage.scale - 0.5;
        double v = std::clamp(stageY / (kStageHeight - 1), 0.0, 1.0);
        uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.width; ++x) {
            double stageX = (x + 0.5 - stage.left) / stage.scale - 0.5;
            double u = std::clamp(stageX / (kStageWidth - 1), 0.0, 1.0);
            row[3 * x + 0] = Channel(150 + 70 * v);           // blue
            row[3 * x + 1] = Channel(95 + 90 * v + 20 * u);   // green
            row[3 * x + 2] = Channel(60 + 110 * v + 40 * u);  // red
        }
    }
}

void FilledEllipse(HDC dc, COLORREF colour, int left, int top, int right, int bottom) {
    UniqueGdiObject brush(CreateSolidBrush(colour));
    ScopedSelection selected(dc, brush.get());
    Ellipse(dc, left, top, right, bottom);
}

void DrawFigure(HDC dc, int cx) {
    ScopedSelection noPen(dc, GetStockObject(NULL_PEN));
    FilledEllipse(dc, RGB(38, 70, 128), cx - 95, 150, cx + 95, 330);    // shoulders
    FilledEllipse(dc, RGB(222, 186, 158), cx - 16, 118, cx + 16, 162);  // neck
    FilledEllipse(dc, RGB(66, 44, 30), cx - 40, 34, cx + 40, 112);      // hair
    FilledEllipse(dc, RGB(230, 194, 166), cx - 35, 48, cx + 35, 140);   // face
    FilledEllipse(dc, RGB(40, 30, 30), cx - 20, 80, cx - 10, 88);       // eyes
    FilledEllipse(dc, RGB(40, 30, 30), cx + 10, 80, cx + 20, 88);
    FilledEllipse(dc, RGB(180, 90, 90), cx - 12, 115, cx + 12, 123);  // mouth
}

// Kept small in the top-left corner, clear of the product's crop frame.
void DrawClock(HDC dc, std::chrono::milliseconds t) {
    long long seconds = t.count() / 1000;
    wchar_t text[16];
    swprintf(text, 16, L"%02lld:%02lld:%02lld", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    RECT box{6, 6, 82, 26};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    UniqueGdiObject font(CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, L"Tahoma"));
    ScopedSelection selected(dc, font.get());
    TextOutW(dc, 12, 9, text, static_cast<int>(wcslen(text)));
}

// GDI draws in stage units; the mapping scales and centres them in the frame.
void MapStage(HDC dc, const StagePlacement& stage) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, kStageWidth, kStageHeight, nullptr);
    SetViewportExtEx(dc, static_cast<int>(std::lround(kStageWidth * stage.scale)),
                     static_cast<int>(std::lround(kStageHeight * stage.scale)), nullptr);
    SetViewportOrgEx(dc, static_cast<int>(std::lround(stage.left)), static_cast<int>(std::lround(stage.top)), nullptr);
}

}  // namespace

void ScenePicture::Resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    stride = (static_cast<size_t>(newWidth) * 3 + 3) & ~size_t{3};
    bits.resize(stride * static_cast<size_t>(newHeight));
}

void InvertPicture(ScenePicture& picture) noexcept {
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = picture.Row(y);
        for (int i = 0; i < picture.width * 3; ++i) row[i] = static_cast<uint8_t>(255 - row[i]);
    }
}

void DrawDemoScene(ScenePicture& picture, int width, int height, std::chrono::milliseconds t) {
    picture.Resize(std::max(width, 1), std::max(height, 1));
    StagePlacement stage = StagePlacement::For(picture.width, picture.height);
    FillBackdrop(picture, stage);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueGdiObject canvas(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !canvas || !bits) return;  // the backdrop alone is still a picture
    std::memcpy(bits, picture.bits.data(), picture.bits.size());
    {
        ScopedSelection selected(dc.get(), canvas.get());
        MapStage(dc.get(), stage);
        double seconds = t.count() / 1000.0;
        DrawFigure(dc.get(), 160 + static_cast<int>(std::lround(18 * std::sin(seconds * 1.3))));
        DrawClock(dc.get(), t);
        GdiFlush();
    }
    std::memcpy(picture.bits.data(), bits, picture.bits.size());
}

}  // namespace vardolin::democam
