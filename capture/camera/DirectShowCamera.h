// Webcams through DirectShow: the first video input device that starts (the
// one the user chose last time tried first), followed while it runs and
// reconnected when it was lost.
#pragma once

#include "camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

// A camera delivering nothing for this long counts as lost.
inline constexpr ULONGLONG kSilentCameraMs = 2000;
// How often a lost camera is looked for again.
inline constexpr ULONGLONG kReconnectIntervalMs = 2000;

std::unique_ptr<VideoSource> CreateDirectShowCamera();

}  // namespace vardolin::capture
