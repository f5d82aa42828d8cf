// Webcams through DirectShow: the first video input device that starts (the
// one the user chose last time tried first), followed while it runs, given
// up for the next when it sends nothing, and tried again by itself whenever
// there is no live picture.
#pragma once

#include "capture/camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

// A running camera's first frame may take this long (slow USB cameras need
// seconds to start streaming)...
inline constexpr ULONGLONG kFirstFrameGraceMs = 8000;
// ...after which a camera delivering nothing for this long counts as lost.
inline constexpr ULONGLONG kSilentCameraMs = 2000;
// How often a camera is looked for again while there is no live picture
// (a device's arrival starts a look at once).
inline constexpr ULONGLONG kRetryIntervalMs = 3000;

std::unique_ptr<VideoSource> CreateDirectShowCamera();

}  // namespace vardolin::capture
