// The scene's geometry that frame consumers rely on: every 4:3 frame is the
// same picture at another scale, and a 16:9 frame is that picture with more
// backdrop left and right. The photograph scene holds a face that the face
// detector finds, drifting with the photograph.
#include "democam/DemoScene.h"
#include "autoframe/FaceDetector.h"
#include "democam/PhotoScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace vardolin::democam {
namespace {

constexpr std::chrono::milliseconds kMoment(45296789);

using DrawScene = void (*)(ScenePicture&, int, int, std::chrono::milliseconds);

// Mean absolute difference per channel between the stage-sized picture and
// the frame's pixels under each stage pixel (the stage scale x scale frame
// pixels from left), averaged.
double DifferenceFromStage(DrawScene draw, const ScenePicture& frame, int left, int width) {
    ScenePicture stage;
    draw(stage, kStageWidth, kStageHeight, kMoment);
    const double scale = static_cast<double>(width) / kStageWidth;
    auto edge = [&](int i) { return static_cast<int>(std::lround(i * scale)); };
    double total = 0;
    for (int y = 0; y < kStageHeight; ++y)
        for (int x = 0; x < kStageWidth; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0, count = 0;
                for (int fy = edge(y); fy < edge(y + 1); ++fy)
                    for (int fx = left + edge(x); fx < left + edge(x + 1); ++fx, ++count)
                        sum += frame.Row(fy)[3 * fx + c];
                total += std::abs(static_cast<double>(sum) / count - stage.Row(y)[3 * x + c]);
            }
    return total / (kStageWidth * kStageHeight * 3);
}

TEST(DemoScene, LargerFramesShowTheStagePictureScaledAndCentred) {
    struct Case {
        int width, height;
        int stageLeft, stageWidth;  // where the 4:3 stage lies in the frame
    };
    const Case cases[] = {
        {640, 480, 0, 640},
        {1280, 960, 0, 1280},
        {1280, 720, 160, 960},    // 16:9: the centre 4:3 crop
        {1920, 1080, 240, 1440},  // 4.5 frame pixels to a stage pixel
    };
    const std::pair<const char*, DrawScene> scenes[] = {{"portrait", DrawDemoScene}, {"photograph", DrawPhotoScene}};
    for (auto [name, draw] : scenes)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << name << " " << c.width << "x" << c.height);
            ScenePicture frame;
            draw(frame, c.width, c.height, kMoment);
            ASSERT_EQ(frame.width, c.width);
            ASSERT_EQ(frame.height, c.height);
            EXPECT_LT(DifferenceFromStage(draw, frame, c.stageLeft, c.stageWidth), 3.0);
        }
}

TEST(DemoScene, TheSceneMovesAndTheClockShowsTheMoment) {
    ScenePicture a, b, c;
    DrawDemoScene(a, kStageWidth, kStageHeight, kMoment);
    DrawDemoScene(b, kStageWidth, kStageHeight, kMoment);
    DrawDemoScene(c, kStageWidth, kStageHeight, kMoment + std::chrono::milliseconds(700));
    EXPECT_TRUE(a.bits == b.bits);  // a moment is one picture
    EXPECT_FALSE(a.bits == c.bits);
}

TEST(PhotoScene, ItsFaceIsFoundWhereThePhotographHasDrifted) {
    std::optional<autoframe::FaceBox> first;
    PhotoOffset firstOffset{};
    for (auto t : {kMoment, kMoment + std::chrono::seconds(10), kMoment + std::chrono::seconds(20)}) {
        ScenePicture frame;
        DrawPhotoScene(frame, kStageWidth, kStageHeight, t);
        std::vector<autoframe::FaceBox> faces = autoframe::FindFaces(autoframe::GreyFromBgr(
            frame.bits.data(), frame.width, frame.height, frame.stride, autoframe::RowOrder::TopDown));
        ASSERT_EQ(faces.size(), 1u);
        PhotoOffset offset = PhotoOffsetAt(t);
        if (!first) {
            // The same box as the native build finds in this frame: the
            // scene and the detector give the same pixels and faces on
            // every build.
            EXPECT_EQ(faces[0], (autoframe::FaceBox{107, 84, 79, 79, 15}));
            first = faces[0], firstOffset = offset;
            continue;
        }
        EXPECT_NE(offset.x * 1000 + offset.y, firstOffset.x * 1000 + firstOffset.y) << "the photograph moves";
        EXPECT_LE(std::abs(faces[0].left + offset.x - first->left - firstOffset.x), 6);
        EXPECT_LE(std::abs(faces[0].top + offset.y - first->top - firstOffset.y), 6);
    }
}

}  // namespace
}  // namespace vardolin::democam
