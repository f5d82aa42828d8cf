// The picture the demo camera films: a portrait that sways in front of a
// graded backdrop, with a clock in the top-left corner.
//
// The scene is laid out on a 320 x 240 (4:3) stage. A frame of any size shows
// the whole stage scaled to the frame's height (or width, when the frame is
// narrower than 4:3) and centred; wider frames add backdrop left and right.
// So the centre 4:3 crop of a 16:9 frame, scaled to 320 x 240, is the 320 x
// 240 frame. The picture is asymmetric both ways: the backdrop is darker at
// the top, and the clock's black box sits top-left.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vardolin::democam {

// Top-down BGR pixels, rows padded to a multiple of 4 bytes as in a DIB.
struct ScenePicture {
    int width = 0;
    int height = 0;
    size_t stride = 0;
    std::vector<uint8_t> bits;

    void Resize(int newWidth, int newHeight);
    uint8_t* Row(int y) noexcept { return bits.data() + stride * static_cast<size_t>(y); }
    const uint8_t* Row(int y) const noexcept { return bits.data() + stride * static_cast<size_t>(y); }
};

inline constexpr int kStageWidth = 320;
inline constexpr int kStageHeight = 240;

// The scenes the camera films: the drawn portrait (the default) and a real
// photograph (PhotoScene.h).
enum class Scene { Portrait = 0, Photograph = 1 };

// The camera's own IAMVideoProcAmp property that picks the scene (0 portrait,
// 1 photograph), numbered beyond the standard properties as a vendor's own
// controls are.
inline constexpr long kSceneProperty = 0x100;

// Draws the scene at moment t into picture, resized to width x height (both
// at least 1). t also sets the clock, read as the time since midnight.
void DrawDemoScene(ScenePicture& picture, int width, int height, std::chrono::milliseconds t);

// Every channel v becomes 255 - v: the twin camera's picture, which tells it
// apart from the first camera of the same name.
void InvertPicture(ScenePicture& picture) noexcept;

}  // namespace vardolin::democam
