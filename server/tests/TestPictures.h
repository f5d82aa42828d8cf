// Known pictures for the Windows tests: drawn into a device context for
// SampleHDC, and compared with what a real JPEG decoder reads back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::test {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // top row first, red, green, blue

    const uint8_t* Pixel(int32_t x, int32_t y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    Picture Crop(int32_t left, int32_t top, int32_t cropWidth, int32_t cropHeight) const;
};

// Smooth colour gradients; with noise, detail that exercises every table.
Picture Pattern(int32_t width, int32_t height, bool noise);

// A memory DC holding the picture in a 32-bit DIB section.
class PictureDC {
public:
    explicit PictureDC(const Picture& picture);
    ~PictureDC();
    PictureDC(const PictureDC&) = delete;
    PictureDC& operator=(const PictureDC&) = delete;

    HDC get() const { return Dc; }
    // The DC as the 32-bit number automation callers pass.
    LONG AsLong() const { return static_cast<LONG>(reinterpret_cast<intptr_t>(Dc)); }

private:
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Previous = nullptr;
};

// Decodes a JPEG file with the platform's decoder (GDI+).
Picture DecodeJpeg(const std::filesystem::path& file);
double MeanAbsoluteDifference(const Picture& a, const Picture& b);

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);
void WritePpm(const std::filesystem::path& file, const Picture& picture);

// A fresh folder under the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path operator/(const std::wstring& name) const { return Path / name; }

private:
    std::filesystem::path Path;
};

}  // namespace vardolin::test
