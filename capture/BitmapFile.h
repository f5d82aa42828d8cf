// 24-bit device-independent bitmaps in memory and as .bmp files, and the
// Win32 code of a file-system error for the messages about them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace vardolin::capture {

// Pixels as a 24-bit bottom-up DIB holds them: blue, green, red, rows padded
// to 4 bytes, the first row in memory is the bottom row of the picture.
struct BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;

    static int StrideOf(int width) noexcept { return (width * 3 + 3) & ~3; }
    int Stride() const noexcept { return StrideOf(width); }
    bool Empty() const noexcept { return width <= 0 || height <= 0; }
    void Resize(int newWidth, int newHeight);
    // Row y counted from the top.
    uint8_t* Row(int y) noexcept { return bits.data() + static_cast<size_t>(height - 1 - y) * Stride(); }
    const uint8_t* Row(int y) const noexcept { return bits.data() + static_cast<size_t>(height - 1 - y) * Stride(); }
    BITMAPINFOHEADER Header() const noexcept;
};

// The pixels of a bitmap (any format) converted to 24 bits; empty on failure.
BitmapPixels ReadBitmapPixels(HBITMAP bitmap);

// The width x height pixels at the top-left corner of a device context.
BitmapPixels CopyPixels(HDC source, int width, int height);

// Writes the pixels as a .bmp file. The file is first written beside the
// target and then put in its place, so a failure leaves any earlier file as
// it was. Returns 0 or the Win32 error code.
DWORD WriteBitmapFile(const std::filesystem::path& path, const BitmapPixels& pixels);

// Puts a completely written replacement (ReplacementPath) in the target's
// place, written through to the disk, or removes it and leaves the target as
// it was. Returns 0 or the Win32 error code: the system's own reason (a file
// held open by another program, a full disk), which the standard library's
// rename reduces to "access denied" or a general input/output error.
DWORD PutReplacementInPlaceOrRemove(const std::filesystem::path& replacement,
                                    const std::filesystem::path& target) noexcept;

// Draws the pixels at (x, y) of the device context, unscaled.
void DrawBitmapPixels(HDC dc, int x, int y, const BitmapPixels& pixels);

}  // namespace vardolin::capture
