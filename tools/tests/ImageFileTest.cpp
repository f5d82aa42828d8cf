// Pictures read in place or decoded: every layout, from a file (read in bands
// larger and smaller than the picture) and from memory, gives the pixels the
// file holds; a file that cannot deliver its rows is an error, never a
// picture.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "tools/ImageFiles.h"
#include "tools/tests/PictureWriters.h"

namespace vardolin::tools {
namespace {

namespace fs = std::filesystem;
using test::AllLayouts;
using test::Picture;

class ImageFileTest : public testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& bytes) { return folder_.Write(name, bytes); }
    test::ScratchFolder folder_{"vardolin-imagefile"};
};

// Top to bottom, then a few rows again from the bottom up, each a different
// run of pixels.
void ExpectPixels(ImageFile& file, const Picture& picture) {
    ASSERT_EQ(file.Width(), picture.width);
    ASSERT_EQ(file.Height(), picture.height);
    EXPECT_EQ(file.Grey(), picture.channels == 1);
    std::vector<int> rows;
    for (int y = 0; y < picture.height; ++y) rows.push_back(y);
    for (int y = picture.height - 1; y >= 0; y -= 37) rows.push_back(y);
    for (int y : rows) {
        const int left = y % 3, count = picture.width - left - (y % 2);
        std::vector<uint8_t> bgr(size_t(count) * 3), expected;
        file.ReadRow(y, left, count, bgr.data());
        for (int x = left; x < left + count; ++x) {
            const auto pixel = picture.Bgr(x, y);
            expected.insert(expected.end(), pixel.begin(), pixel.end());
        }
        ASSERT_EQ(bgr, expected) << "row " << y << " from " << left;
    }
}

TEST_F(ImageFileTest, EveryLayoutGivesThePixelsOfTheFile) {
    // Wide enough for several bands of rows, and one picture within a band.
    for (auto [width, height] : {std::pair{1001, 90}, std::pair{7, 5}}) {
        for (const test::Layout& layout : AllLayouts()) {
            SCOPED_TRACE(testing::Message() << layout.name << " " << width << " x " << height);
            const Picture picture = layout.Random(width, height);
            const std::string bytes = layout.write(picture);
            ImageFile fromFile(Write(layout.name, bytes));
            ExpectPixels(fromFile, picture);
            ImageFile fromMemory(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
            ExpectPixels(fromMemory, picture);
        }
    }
}

// A pipe cannot be read at an offset: it is read whole, with the same pixels.
TEST_F(ImageFileTest, PipeGivesTheSamePixelsAsTheFile) {
    const Picture picture = test::RandomPicture(33, 21, 3, {255, 255, 255});
    const std::string bytes = test::Netpbm(picture, '6', 255);
    const fs::path pipe = folder_.Path() / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << bytes; });
    ImageFile fromPipe(pipe);
    writer.join();
    ExpectPixels(fromPipe, picture);
}

// An empty input (a pipe that gave nothing) is refused like any unknown format.
TEST_F(ImageFileTest, EmptyInputIsRefused) { EXPECT_THROW(ImageFile(std::span<const uint8_t>()), ImageFileError); }

// A file cut short after its header was checked fails the reading of the
// rows it no longer has.
TEST_F(ImageFileTest, FileThatShrinksWhileOpenIsAnError) {
    const Picture picture = test::RandomPicture(1001, 300, 3, {255, 255, 255});
    const fs::path path = Write("shrinks.ppm", test::Netpbm(picture, '6', 255));
    ImageFile file(path);
    fs::resize_file(path, fs::file_size(path) / 2);
    std::vector<uint8_t> bgr(1001 * 3);
    file.ReadRow(0, 0, 1001, bgr.data());
    EXPECT_THROW(file.ReadRow(299, 0, 1001, bgr.data()), ImageFileError);
}

}  // namespace
}  // namespace vardolin::tools
