// The detector on photographs from Debian packages (faces where they are, no
// face on a cat) and on made-up pictures without faces; the grey conversion
// of DIB rows.
#include "autoframe/FaceDetector.h"
#include "autoframe/FramePlacement.h"
#include "autoframe/Pyramid.h"

#include "tools/ImageFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace vardolin::autoframe {
namespace {

GreyPicture LoadPhoto(const std::string& name) {
    tools::ImageFile file{std::filesystem::path(VARDOLIN_SAMPLE_PHOTOS) / name};
    size_t stride = static_cast<size_t>(file.Width()) * 3;
    std::vector<uint8_t> bgr(stride * file.Height());
    for (int y = 0; y < file.Height(); ++y) file.ReadRow(y, 0, file.Width(), bgr.data() + stride * y);
    return GreyFromBgr(bgr.data(), file.Width(), file.Height(), stride, RowOrder::TopDown);
}

// How a test picture is made from a photo: shrunk to a width (0: as it is),
// then rows from cropTop (cropHeight of them, 0: all), then mirrored, then
// moved down by lowered rows of grey (its bottom rows dropped).
struct Making {
    int width = 0;
    int cropTop = 0, cropHeight = 0;
    bool mirror = false;
    int lowered = 0;
};

struct Square {
    int centreX, centreY, size;
};

// The picture, with the given squares moved along.
GreyPicture Make(const GreyPicture& photo, const Making& m, std::initializer_list<Square*> tracked = {}) {
    GreyPicture picture = photo;
    if (m.width) {
        int scale = static_cast<int>(static_cast<int64_t>(photo.width) * kScaleOne / m.width);
        picture = Shrink(photo, scale);
        for (Square* s : tracked)
            *s = {s->centreX * kScaleOne / scale, s->centreY * kScaleOne / scale, s->size * kScaleOne / scale};
    }
    if (m.cropHeight) {
        picture.pixels.erase(picture.pixels.begin(), picture.pixels.begin() + m.cropTop * picture.width);
        picture.pixels.resize(static_cast<size_t>(m.cropHeight) * picture.width);
        picture.height = m.cropHeight;
        for (Square* s : tracked) s->centreY -= m.cropTop;
    }
    if (m.mirror) {
        for (int y = 0; y < picture.height; ++y)
            std::reverse(picture.pixels.begin() + y * picture.width, picture.pixels.begin() + (y + 1) * picture.width);
        for (Square* s : tracked) s->centreX = picture.width - 1 - s->centreX;
    }
    if (m.lowered) {
        picture.pixels.insert(picture.pixels.begin(), static_cast<size_t>(m.lowered) * picture.width, 128);
        picture.pixels.resize(static_cast<size_t>(picture.height) * picture.width);
        for (Square* s : tracked) s->centreY += m.lowered;
    }
    return picture;
}

struct PhotoCase {
    const char* name;
    const char* photo;
    Square face;      // located by eye on the photo as it is
    int crown, chin;  // rows of the top of the hair (or cap) and of the chin, by eye
    Making making;
    bool tooClose;  // the head cannot fit the 156 x 188 frame with its margin
};

// The astronaut is 512 x 512, the computer scientist 512 x 600; the 320 x
// 240 ones are what the capture window's still holds, the last two with the
// person further away or lower in the picture.
const PhotoCase kFacePhotos[] = {
    {"astronaut", "astronaut.png", {226, 124, 78}, 15, 166, {}, false},
    {"astronaut_still", "astronaut.png", {226, 124, 78}, 15, 166, {320, 0, 240}, false},
    {"astronaut_still_mirrored", "astronaut.png", {226, 124, 78}, 15, 166, {320, 0, 240, true}, false},
    {"astronaut_still_lowered", "astronaut.png", {226, 124, 78}, 15, 166, {320, 0, 240, false, 60}, false},
    {"hopper", "hopper.ppm", {266, 231, 152}, 22, 312, {}, true},
    {"hopper_still", "hopper.ppm", {266, 231, 152}, 22, 312, {320, 40, 240}, true},
    {"hopper_still_mirrored", "hopper.ppm", {266, 231, 152}, 22, 312, {320, 40, 240, true}, true},
    {"hopper_still_further", "hopper.ppm", {266, 231, 152}, 22, 312, {256, 0, 240, false, 40}, false},
};

void PrintTo(const PhotoCase& c, std::ostream* out) { *out << c.name; }

class FacePhotos : public testing::TestWithParam<PhotoCase> {};

TEST_P(FacePhotos, FindsTheOneFaceWhereItIs) {
    Square face = GetParam().face;
    GreyPicture picture = Make(LoadPhoto(GetParam().photo), GetParam().making, {&face});
    std::vector<FaceBox> faces = FindFaces(picture);
    ASSERT_EQ(faces.size(), 1u);
    const FaceBox& found = faces[0];
    EXPECT_GE(found.neighbours, kMinNeighbours);
    EXPECT_EQ(found.width, found.height);
    // Centre within a fifth of the face's size, size within a quarter.
    EXPECT_LE(std::abs(found.left + found.width / 2 - face.centreX) * 5, face.size);
    EXPECT_LE(std::abs(found.top + found.height / 2 - face.centreY) * 5, face.size);
    EXPECT_LE(std::abs(found.width - face.size) * 4, face.size);
    EXPECT_EQ(LargestFace(faces), found);
}

// The frame on the detector's face holds the whole head: the crown at least
// half the margin below the frame's top (or the picture's top cuts it) and no
// more than twice the margin, the chin inside; a head too large for the frame
// is flagged instead.
TEST_P(FacePhotos, FramesTheWholeHeadOrFindsItTooClose) {
    const PhotoCase& c = GetParam();
    Square face = c.face, crown{face.centreX, c.crown, 0}, chin{face.centreX, c.chin, 0};
    GreyPicture picture = Make(LoadPhoto(c.photo), c.making, {&face, &crown, &chin});
    std::optional<FaceBox> found = LargestFace(FindFaces(picture));
    ASSERT_TRUE(found);
    constexpr Extent kFrame{156, 188};
    FramePlacement placed = PlaceFrame(*found, kFrame, {picture.width, picture.height});
    ASSERT_EQ(placed.headLargerThanFrame, c.tooClose);
    if (c.tooClose) return;
    int margin = CrownMargin(kFrame), above = crown.centreY - placed.top;
    EXPECT_GE(above, std::min(margin / 2, crown.centreY)) << "crown row " << crown.centreY << ", top " << placed.top;
    EXPECT_LE(above, 2 * margin) << "crown row " << crown.centreY << ", top " << placed.top;
    EXPECT_LE(chin.centreY, placed.top + kFrame.height);
}

INSTANTIATE_TEST_SUITE_P(Photos, FacePhotos, testing::ValuesIn(kFacePhotos),
                         [](const auto& info) { return std::string(info.param.name); });

GreyPicture Drawn(int width, int height, uint8_t (*pixel)(int x, int y)) {
    GreyPicture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.pixels[static_cast<size_t>(y) * width + x] = pixel(x, y);
    return picture;
}

uint8_t Noise(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    h ^= h >> 13, h *= 0x5bd1e995u, h ^= h >> 15;
    return static_cast<uint8_t>(h);
}

TEST(FaceDetector, NoFaceWhereThereIsNone) {
    struct Case {
        const char* name;
        GreyPicture picture;
    } cases[] = {
        {"flat", Drawn(320, 240, [](int, int) -> uint8_t { return 128; })},
        {"noise", Drawn(320, 240, Noise)},
        {"horizontal gradient", Drawn(320, 240, [](int x, int) { return static_cast<uint8_t>(x * 255 / 319); })},
        {"vertical gradient", Drawn(320, 240, [](int, int y) { return static_cast<uint8_t>(y * 255 / 239); })},
        {"cat", LoadPhoto("chelsea.png")},
        {"cat still", Make(LoadPhoto("chelsea.png"), {320})},
        {"smaller than the window", Drawn(44, 240, Noise)},
        {"pixels missing", GreyPicture{320, 240, std::vector<uint8_t>(320 * 239)}},
        {"no size", GreyPicture{}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(FindFaces(c.picture).empty()) << c.name;
        EXPECT_FALSE(LargestFace(FindFaces(c.picture)).has_value()) << c.name;
    }
}

TEST(FaceDetector, LargestFaceTakesAreaThenNeighboursThenOrder) {
    FaceBox small{0, 0, 50, 50, 9}, large{100, 0, 80, 80, 3}, rival{0, 100, 80, 80, 5}, twin{200, 0, 80, 80, 5};
    EXPECT_EQ(LargestFace(std::vector{small, large}), large);
    EXPECT_EQ(LargestFace(std::vector{large, rival}), rival);
    EXPECT_EQ(LargestFace(std::vector{rival, twin}), rival);
}

TEST(GreyFromBgr, ReadsEitherRowOrderWithPaddedRows) {
    // Two rows of two pixels, each row padded to 8 bytes: top row blue and
    // green, bottom row red and white.
    const uint8_t topDown[] = {255, 0, 0, 0, 255, 0, 9, 9, 0, 0, 255, 255, 255, 255, 9, 9};
    const uint8_t bottomUp[] = {0, 0, 255, 255, 255, 255, 9, 9, 255, 0, 0, 0, 255, 0, 9, 9};
    const std::vector<uint8_t> expected{29, 149, 77, 255};  // (29 B + 150 G + 77 R + 128) / 256
    EXPECT_EQ(GreyFromBgr(topDown, 2, 2, 8, RowOrder::TopDown).pixels, expected);
    EXPECT_EQ(GreyFromBgr(bottomUp, 2, 2, 8, RowOrder::BottomUp).pixels, expected);
    EXPECT_FALSE(GreyFromBgr(topDown, 2, 2, 5, RowOrder::TopDown).Valid()) << "stride shorter than a row";
    EXPECT_FALSE(GreyFromBgr(topDown, 0, 2, 8, RowOrder::TopDown).Valid());
    EXPECT_FALSE(GreyFromBgr(nullptr, 2, 2, 8, RowOrder::TopDown).Valid());
}

}  // namespace
}  // namespace vardolin::autoframe
