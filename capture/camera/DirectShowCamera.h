// A real webcam through DirectShow: the first video input device, its frames
// taken from a sample grabber behind the capture pin.
#pragma once

#include "camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

// The first video input device, already running; null when there is none or
// it cannot be started.
std::unique_ptr<VideoSource> OpenFirstVideoInputDevice();

}  // namespace vardolin::capture
