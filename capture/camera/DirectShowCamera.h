// Webcams through DirectShow, run on a thread of their own (CameraCore on
// the camera thread; the window thread's side reads its published snapshot).
#pragma once

#include "capture/camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

std::unique_ptr<VideoSource> CreateDirectShowCamera();

}  // namespace vardolin::capture
