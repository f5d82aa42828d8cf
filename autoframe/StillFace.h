// Hands-free capture's timing: the faces the finder reports, look by look,
// turned into a countdown and one shot. Exactly one face has to hold still
// for kStillMs (its smoothed centre moving less than 2 % of its width from
// one look to the next); then 3, 2, 1 are shown for kCountdownStepMs each and
// the photo is taken. Movement, a second face or no face starts it over.
// Times are milliseconds of any steady clock; no Windows header.
#pragma once

#include "autoframe/FaceBox.h"

#include <cstdint>
#include <span>

namespace vardolin::autoframe {

inline constexpr uint64_t kStillMs = 1000;
inline constexpr uint64_t kCountdownStepMs = 500;
inline constexpr int kCountdownFrom = 3;

class StillFace {
public:
    // One look of the finder at a frame, taken at atMs.
    void Look(uint64_t atMs, std::span<const FaceBox> faces);
    // What to show at nowMs: 3, 2 or 1 while counting down, 0 otherwise.
    int Countdown(uint64_t nowMs) const;
    // True once, when the countdown has run out at nowMs; nothing more fires
    // until Rearm.
    bool Fire(uint64_t nowMs);
    // Forgets the face and allows the next shot.
    void Rearm();
    bool Fired() const noexcept { return fired_; }

private:
    // One face seen at the last look: its centre in 1/16 pixels, smoothed
    // over the looks, and since when it has held still.
    bool tracking_ = false;
    int64_t x_ = 0, y_ = 0;
    uint64_t stillSince_ = 0;
    bool fired_ = false;
};

}  // namespace vardolin::autoframe
