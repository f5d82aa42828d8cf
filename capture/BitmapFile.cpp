#include "capture/BitmapFile.h"

#include "encoder/FileOutput.h"
#include "win/Win32Handles.h"

#include <algorithm>
#include <cerrno>
#include <limits>

namespace vardolin::capture {
namespace {

bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return size <= std::numeric_limits<DWORD>::max() &&
           WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

DWORD WriteNew(const std::filesystem::path& path, const BitmapPixels& pixels) {
    BITMAPINFOHEADER info = pixels.Header();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.bits.size());

    UniqueFile out =
        AdoptFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return GetLastError();
    bool ok = WriteAll(out.get(), &file, sizeof file) && WriteAll(out.get(), &info, sizeof info) &&
              WriteAll(out.get(), pixels.bits.data(), pixels.bits.size());
    DWORD error = ok ? 0 : GetLastError();
    out.reset();
    if (!ok) {
        DeleteFileW(path.c_str());
        return error ? error : ERROR_WRITE_FAULT;
    }
    return 0;
}

}  // namespace

void BitmapPixels::Resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    bits.assign(static_cast<size_t>(Stride()) * height, 0);
}

BITMAPINFOHEADER BitmapPixels::Header() const noexcept {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(bits.size());
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780;  // 96 dots per inch
    return info;
}

BitmapPixels ReadBitmapPixels(HBITMAP bitmap) {
    BitmapPixels pixels;
    BITMAP shape{};
    if (!bitmap || !GetObjectW(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
        return pixels;
    pixels.Resize(shape.bmWidth, shape.bmHeight);
    BITMAPINFO info{};
    info.bmiHeader = pixels.Header();
    WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, shape.bmHeight, pixels.bits.data(), &info, DIB_RGB_COLORS) != shape.bmHeight)
        return {};
    return pixels;
}

BitmapPixels CopyPixels(HDC source, int width, int height) {
    BitmapPixels pixels;
    if (!source || width <= 0 || height <= 0) return pixels;
    pixels.Resize(width, height);
    BITMAPINFO info{};
    info.bmiHeader = pixels.Header();
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(source));
    UniqueBitmap canvas(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !canvas || !bits) return {};
    {
        ScopedSelection selected(dc.get(), canvas.get());
        if (!BitBlt(dc.get(), 0, 0, width, height, source, 0, 0, SRCCOPY)) return {};
        GdiFlush();
    }
    const uint8_t* copied = static_cast<const uint8_t*>(bits);
    std::copy(copied, copied + pixels.bits.size(), pixels.bits.begin());
    return pixels;
}

DWORD WriteBitmapFile(const std::filesystem::path& path, const BitmapPixels& pixels) {
    if (pixels.Empty()) return ERROR_INVALID_DATA;
    std::filesystem::path replacement = ReplacementPath(path);
    if (DWORD error = WriteNew(replacement, pixels)) return error;
    return PutReplacementInPlaceOrRemove(replacement, path);
}

DWORD PutReplacementInPlaceOrRemove(const std::filesystem::path& replacement,
                                    const std::filesystem::path& target) noexcept {
    if (MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    DWORD error = GetLastError();
    DeleteFileW(replacement.c_str());
    return error ? error : ERROR_GEN_FAILURE;
}

void DrawBitmapPixels(HDC dc, int x, int y, const BitmapPixels& pixels) {
    if (pixels.Empty()) return;
    BITMAPINFO info{};
    info.bmiHeader = pixels.Header();
    SetDIBitsToDevice(dc, x, y, pixels.width, pixels.height, 0, 0, 0, pixels.height, pixels.bits.data(), &info,
                      DIB_RGB_COLORS);
}

}  // namespace vardolin::capture
