// Tests photograph through the demo camera, registered like any webcam:
// waiting for what it delivers and the picture it films (its names, switches
// and the COM apartment come from the camera's own test header).
#pragma once

#include "capture/BitmapFile.h"
#include "democam/testing/CameraTesting.h"
#include "democam/DemoScene.h"

#include <chrono>
#include <functional>
#include <string>

namespace vardolin::capture::test {

using democam::CameraSwitches;
using democam::ComApartment;
using democam::kDemoCamera;
using democam::kSecondDemoCamera;

// Runs this thread's messages until done() holds or the time is up; done() at the end.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));
void PumpFor(std::chrono::milliseconds duration);
// The longest that handling one message took in PumpUntil since the last
// call: how long the thread's windows were kept waiting.
std::chrono::microseconds TakeLongestDispatch();

// The demo scene (the drawn portrait, or the photograph) at moment t: by
// default as the 320 x 240 preview shows it, or the exact frame the camera
// sends at width x height (top-down), as a still's full-resolution frame.
BitmapPixels DemoScene(std::chrono::milliseconds t, democam::Scene scene = democam::Scene::Portrait,
                       int width = democam::kStageWidth, int height = democam::kStageHeight);

}  // namespace vardolin::capture::test
