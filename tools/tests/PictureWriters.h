// Test pictures and files of every layout the picture readers take, written
// here independently of the readers, with the pixels a reader must give.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vardolin::tools::test {

// Samples of each pixel: 1 (grey) or 3 (red, green, blue), channel c in
// 0..maxValues[c].
struct Picture {
    int width = 0, height = 0, channels = 3;
    std::array<int, 3> maxValues{255, 255, 255};
    std::vector<uint16_t> samples;  // top row first

    const uint16_t* At(int x, int y) const { return &samples[(size_t(y) * width + x) * channels]; }
    // Blue, green, red of pixel (x, y), each scaled to 8 bits with rounding.
    std::array<uint8_t, 3> Bgr(int x, int y) const;
    // Red, green, blue of every pixel, as Bgr gives them.
    std::vector<uint8_t> Rgb() const;
};

// Random samples; with colours > 0, every pixel is one of that many colours.
Picture RandomPicture(int width, int height, int channels, std::array<int, 3> maxValues, int colours = 0);

// One stored layout: the pictures it can hold and how to write them.
struct Layout {
    std::string name;
    int channels;
    std::array<int, 3> maxValues;
    int colours;  // a colour table of at most this many entries; 0: none
    std::function<std::string(const Picture&)> write;

    Picture Random(int width, int height) const { return RandomPicture(width, height, channels, maxValues, colours); }
};

// Every layout the readers take: PGM, PPM, PAM, BMP and PNG variants.
const std::vector<Layout>& AllLayouts();

// A folder of its own for a test's files, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// Writers, for tests that build variants of their own.
std::string Netpbm(const Picture& p, char kind, int maxValue);
std::string Bmp(const Picture& p, int bits, bool topDown, std::array<uint32_t, 3> masks = {}, int infoSize = 40);
std::string Png(const Picture& p, int colourType, int bitDepth, bool interlaced = false);
std::string Le(uint32_t value, int bytes);

}  // namespace vardolin::tools::test
