// Picture files read in place: every layout, read in bands larger and
// smaller than the picture, gives the pixels a straightforward decoding of
// the file gives; a file that cannot deliver its rows is an error, never a
// picture.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ImageFiles.h"

namespace vardolin::tools {
namespace {

namespace fs = std::filesystem;

struct Picture {
    int width, height;
    std::vector<uint8_t> samples;  // 1 or 3 per pixel, top row first, red first
};

Picture RandomPicture(int width, int height, int channels, int maxValue) {
    std::mt19937 random(width * 31 + height);
    Picture picture{width, height, std::vector<uint8_t>(size_t(width) * height * channels)};
    for (uint8_t& s : picture.samples) s = uint8_t(random() % (maxValue + 1));
    return picture;
}

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Netpbm(const Picture& p, bool grey, int maxValue) {
    return std::string(grey ? "P5" : "P6") + "\n# a comment\n" + std::to_string(p.width) + " " +
           std::to_string(p.height) + "\n" + std::to_string(maxValue) + "\n" +
           std::string(p.samples.begin(), p.samples.end());
}

std::string Bmp(const Picture& p, int bits, bool topDown) {
    const int bytes = bits / 8, stride = (p.width * bytes + 3) & ~3;
    std::string pixels;
    for (int line = 0; line < p.height; ++line) {
        const int y = topDown ? line : p.height - 1 - line;
        std::string row(size_t(stride), '\x7F');  // padding and the fourth byte are ignored
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < 3; ++c) row[size_t(x) * bytes + c] = char(p.samples[(size_t(y) * p.width + x) * 3 + 2 - c]);
        pixels += row;
    }
    const uint32_t height = topDown ? uint32_t(-p.height) : uint32_t(p.height);
    return "BM" + Le(uint32_t(54 + pixels.size()), 4) + Le(0, 4) + Le(54, 4) + Le(40, 4) + Le(uint32_t(p.width), 4) +
           Le(height, 4) + Le(1, 2) + Le(uint32_t(bits), 2) + Le(0, 4) + Le(uint32_t(pixels.size()), 4) +
           std::string(16, '\0') + pixels;
}

// Blue, green, red of pixel (x, y) as the file means it.
std::array<uint8_t, 3> Expected(const Picture& p, bool grey, int maxValue, int x, int y) {
    auto scaled = [&](int v) { return uint8_t(maxValue == 255 ? v : (v * 255 + maxValue / 2) / maxValue); };
    if (grey) {
        const uint8_t v = scaled(p.samples[size_t(y) * p.width + x]);
        return {v, v, v};
    }
    const uint8_t* rgb = &p.samples[(size_t(y) * p.width + x) * 3];
    return {scaled(rgb[2]), scaled(rgb[1]), scaled(rgb[0])};
}

class ImageFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("vardolin-imagefile-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return folder_ / name;
    }
    fs::path folder_;
};

TEST_F(ImageFileTest, EveryLayoutGivesThePixelsOfTheFile) {
    struct Case {
        const char* name;
        bool grey;
        int maxValue;
        std::function<std::string(const Picture&)> write;
    };
    const Case cases[] = {
        {"ppm", false, 255, [](const Picture& p) { return Netpbm(p, false, 255); }},
        {"ppm-100", false, 100, [](const Picture& p) { return Netpbm(p, false, 100); }},
        {"pgm", true, 255, [](const Picture& p) { return Netpbm(p, true, 255); }},
        {"pgm-63", true, 63, [](const Picture& p) { return Netpbm(p, true, 63); }},
        {"bmp24-bottom-up", false, 255, [](const Picture& p) { return Bmp(p, 24, false); }},
        {"bmp24-top-down", false, 255, [](const Picture& p) { return Bmp(p, 24, true); }},
        {"bmp32-bottom-up", false, 255, [](const Picture& p) { return Bmp(p, 32, false); }},
        {"bmp32-top-down", false, 255, [](const Picture& p) { return Bmp(p, 32, true); }},
    };
    // Wide enough for several bands of rows, and one picture within a band.
    for (auto [width, height] : {std::pair{1001, 300}, std::pair{7, 5}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " " << width << " x " << height);
            const Picture picture = RandomPicture(width, height, c.grey ? 1 : 3, c.maxValue);
            ImageFile file(Write(c.name, c.write(picture)));
            ASSERT_EQ(file.Width(), width);
            ASSERT_EQ(file.Height(), height);
            EXPECT_EQ(file.Grey(), c.grey);
            // Top to bottom, then a few rows again from the bottom up.
            std::vector<int> rows;
            for (int y = 0; y < height; ++y) rows.push_back(y);
            for (int y = height - 1; y >= 0; y -= 37) rows.push_back(y);
            for (int y : rows) {
                const int left = y % 3, count = width - left - (y % 2);
                std::vector<uint8_t> bgr(size_t(count) * 3);
                file.ReadRow(y, left, count, bgr.data());
                for (int x = 0; x < count; ++x) {
                    const auto expected = Expected(picture, c.grey, c.maxValue, left + x, y);
                    ASSERT_EQ((std::array<uint8_t, 3>{bgr[3 * x], bgr[3 * x + 1], bgr[3 * x + 2]}), expected)
                        << "pixel " << left + x << ", " << y;
                }
            }
        }
    }
}

// A pipe cannot be read at an offset: it is read whole, with the same pixels.
TEST_F(ImageFileTest, PipeGivesTheSamePixelsAsTheFile) {
    const Picture picture = RandomPicture(33, 21, 3, 255);
    const std::string bytes = Netpbm(picture, false, 255);
    const fs::path pipe = folder_ / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << bytes; });
    ImageFile fromPipe(pipe);
    writer.join();
    ImageFile fromFile(Write("file.ppm", bytes));
    for (int y = 0; y < 21; ++y) {
        std::vector<uint8_t> a(33 * 3), b(33 * 3);
        fromPipe.ReadRow(y, 0, 33, a.data());
        fromFile.ReadRow(y, 0, 33, b.data());
        ASSERT_EQ(a, b) << "row " << y;
    }
}

// A file cut short after its header was checked fails the reading of the
// rows it no longer has.
TEST_F(ImageFileTest, FileThatShrinksWhileOpenIsAnError) {
    const Picture picture = RandomPicture(1001, 300, 3, 255);
    const fs::path path = Write("shrinks.ppm", Netpbm(picture, false, 255));
    ImageFile file(path);
    fs::resize_file(path, fs::file_size(path) / 2);
    std::vector<uint8_t> bgr(1001 * 3);
    file.ReadRow(0, 0, 1001, bgr.data());
    EXPECT_THROW(file.ReadRow(299, 0, 1001, bgr.data()), ImageFileError);
}

}  // namespace
}  // namespace vardolin::tools
