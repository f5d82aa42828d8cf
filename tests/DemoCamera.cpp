#include "tests/DemoCamera.h"

#include "democam/PhotoScene.h"

#include <algorithm>

namespace vardolin::capture::test {

namespace {
std::chrono::steady_clock::duration longestDispatch{};
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    using clock = std::chrono::steady_clock;
    auto end = clock::now() + timeout;
    while (!done() && clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            auto start = clock::now();
            DispatchMessageW(&msg);
            longestDispatch = std::max(longestDispatch, clock::now() - start);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

std::chrono::microseconds TakeLongestDispatch() {
    auto longest = std::chrono::duration_cast<std::chrono::microseconds>(longestDispatch);
    longestDispatch = {};
    return longest;
}

void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

BitmapPixels DemoScene(std::chrono::milliseconds t, democam::Scene which, int width, int height) {
    democam::ScenePicture scene;
    if (which == democam::Scene::Photograph) democam::DrawPhotoScene(scene, width, height, t);
    else democam::DrawDemoScene(scene, width, height, t);
    BitmapPixels pixels;
    pixels.Resize(scene.width, scene.height);
    for (int y = 0; y < scene.height; ++y) std::copy_n(scene.Row(y), 3 * scene.width, pixels.Row(y));
    return pixels;
}

}  // namespace vardolin::capture::test
