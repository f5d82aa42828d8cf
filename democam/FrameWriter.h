// Turns a drawn scene into the bytes of one video sample.
#pragma once

#include "democam/DemoScene.h"
#include "democam/VideoFormat.h"

namespace vardolin::democam {

// Picture controls as a camera applies them: brightness is added to every
// channel, contrast (percent) stretches around mid-grey.
inline constexpr int kMinBrightness = -100, kMaxBrightness = 100, kDefaultBrightness = 0;
inline constexpr int kMinContrast = 0, kMaxContrast = 200, kDefaultContrast = 100;

void AdjustPicture(ScenePicture& picture, int brightness, int contrastPercent);

// Every channel times gain, rounded and clipped to 0..255 (1: unchanged).
void ApplyGain(ScenePicture& picture, double gain);

// A Gaussian blur of sigma pixels (0: none), rows then columns; the edge
// pixels repeat beyond the picture.
void BlurPicture(ScenePicture& picture, double sigma);

// Writes the scene (already of the format's size) in the format's layout:
// RGB24 bottom-up, YUY2 and NV12 top-down with BT.601 studio-range YUV.
// False when out holds fewer than format.ImageSize() bytes.
bool WriteFrame(const ScenePicture& scene, const VideoFormat& format, uint8_t* out, size_t capacity);

}  // namespace vardolin::democam
