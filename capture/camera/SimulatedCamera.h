// A camera without hardware: a head-and-shoulders figure swaying over a
// gradient backdrop, with a running clock, drawn afresh for every frame.
// Its format dialog picks the resolution, its source dialog sets brightness
// and contrast.
#pragma once

#include "camera/VideoSource.h"

#include <chrono>
#include <functional>
#include <span>

namespace vardolin::capture {

struct Resolution {
    int width;
    int height;
};

class SimulatedCamera final : public VideoSource {
public:
    using Clock = std::function<std::chrono::milliseconds()>;  // time since some start

    static std::span<const Resolution> Resolutions() noexcept;
    static constexpr Resolution kDefaultResolution{640, 480};
    static constexpr int kMinBrightness = -100, kMaxBrightness = 100;  // added to each channel
    static constexpr int kMinContrast = 0, kMaxContrast = 200;         // percent

    explicit SimulatedCamera(Clock clock = {});

    bool CurrentFrame(BitmapPixels& frame) override;
    bool FormatDialogAvailable() override { return true; }
    bool SourceDialogAvailable() override { return true; }
    void ShowFormatDialog(HWND owner) override;
    void ShowSourceDialog(HWND owner) override;

    Resolution FrameSize() const noexcept { return resolution_; }
    void SetFrameSize(Resolution resolution) noexcept { resolution_ = resolution; }
    int Brightness() const noexcept { return brightness_; }
    int Contrast() const noexcept { return contrast_; }
    void SetBrightness(int brightness) noexcept;
    void SetContrast(int contrast) noexcept;

private:
    Clock clock_;
    Resolution resolution_ = kDefaultResolution;
    int brightness_ = 0;
    int contrast_ = 100;
};

}  // namespace vardolin::capture
