// Our video-capture control: a child window that shows the camera's live
// picture (320 x 240, from its top-left corner, as the still photo is shown
// later) or one line saying why there is none, and offers the camera through
// automation.
#pragma once

#include "capture/CameraControl.h"
#include "capture/camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

// Preview refresh interval.
inline constexpr UINT kPreviewIntervalMs = 50;

std::unique_ptr<CameraControlWindow> CreateVideoCaptureControl(HWND parent, const RECT& bounds, int controlId,
                                                               std::shared_ptr<VideoSource> source);

}  // namespace vardolin::capture
