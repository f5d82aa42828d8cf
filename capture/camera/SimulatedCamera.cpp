#include "camera/SimulatedCamera.h"

#include "camera/SimulatedCameraDialogs.h"
#include "camera/SimulatedScene.h"

#include <algorithm>
#include <array>

namespace vardolin::capture {
namespace {

constexpr std::array<Resolution, 4> kResolutions{{{320, 240}, {640, 480}, {800, 600}, {1280, 720}}};

SimulatedCamera::Clock SteadyClock() {
    auto start = std::chrono::steady_clock::now();
    return [start] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    };
}

}  // namespace

std::span<const Resolution> SimulatedCamera::Resolutions() noexcept { return kResolutions; }

SimulatedCamera::SimulatedCamera(Clock clock) : clock_(clock ? std::move(clock) : SteadyClock()) {}

bool SimulatedCamera::CurrentFrame(BitmapPixels& frame) {
    DrawSimulatedScene(frame, resolution_.width, resolution_.height, clock_());
    AdjustBrightnessContrast(frame, brightness_, contrast_);
    return true;
}

void SimulatedCamera::SetBrightness(int brightness) noexcept {
    brightness_ = std::clamp(brightness, kMinBrightness, kMaxBrightness);
}

void SimulatedCamera::SetContrast(int contrast) noexcept { contrast_ = std::clamp(contrast, kMinContrast, kMaxContrast); }

void SimulatedCamera::ShowFormatDialog(HWND owner) {
    auto choices = Resolutions();
    auto current = std::find_if(choices.begin(), choices.end(), [this](const Resolution& r) {
        return r.width == resolution_.width && r.height == resolution_.height;
    });
    size_t index = current == choices.end() ? 0 : static_cast<size_t>(current - choices.begin());
    if (auto chosen = ChooseResolution(owner, choices, index)) resolution_ = choices[*chosen];
}

void SimulatedCamera::ShowSourceDialog(HWND owner) {
    if (auto chosen = ChooseAdjustment(owner, {brightness_, contrast_})) {
        SetBrightness(chosen->brightness);
        SetContrast(chosen->contrast);
    }
}

}  // namespace vardolin::capture
