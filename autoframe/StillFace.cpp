#include "autoframe/StillFace.h"

namespace vardolin::autoframe {
namespace {

// Each look moves the smoothed centre half of the way to the new one: the
// finder's box jumps a pixel or two between frames of a face that does not
// move, and that must not count as movement. A face that keeps moving moves
// its smoothed centre as fast.
constexpr int64_t kSmoothing = 2;
constexpr int64_t kSubPixel = 16;

}  // namespace

void StillFace::Look(uint64_t atMs, std::span<const FaceBox> faces) {
    if (faces.size() != 1 || faces[0].width <= 0) {
        tracking_ = false;
        return;
    }
    const FaceBox& face = faces[0];
    int64_t x = (2 * int64_t{face.left} + face.width) * kSubPixel / 2;
    int64_t y = (2 * int64_t{face.top} + face.height) * kSubPixel / 2;
    if (!tracking_) {
        tracking_ = true;
        x_ = x;
        y_ = y;
        stillSince_ = atMs;
        return;
    }
    int64_t dx = (x - x_) / kSmoothing, dy = (y - y_) / kSmoothing;
    // Less than 2 % of the width: 50 * moved < width, both in sub-pixels.
    int64_t limit = int64_t{face.width} * kSubPixel;
    if (2500 * (dx * dx + dy * dy) < limit * limit) {
        x_ += dx;
        y_ += dy;
        return;
    }
    // It moved: the smoothed centre starts again where the face is now, so
    // a face that stops is still from this look on, without lagging behind.
    x_ = x;
    y_ = y;
    stillSince_ = atMs;
}

int StillFace::Countdown(uint64_t nowMs) const {
    if (fired_ || !tracking_ || nowMs < stillSince_ + kStillMs) return 0;
    uint64_t step = (nowMs - stillSince_ - kStillMs) / kCountdownStepMs;
    return step < kCountdownFrom ? kCountdownFrom - static_cast<int>(step) : 0;
}

bool StillFace::Fire(uint64_t nowMs) {
    if (fired_ || !tracking_ || nowMs < stillSince_ + kStillMs + kCountdownFrom * kCountdownStepMs) return false;
    fired_ = true;
    return true;
}

void StillFace::Rearm() { tracking_ = fired_ = false; }

}  // namespace vardolin::autoframe
