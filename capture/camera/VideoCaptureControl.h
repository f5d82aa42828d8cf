// Our video-capture control: a child window that shows the live picture of a
// video source in its rectangle, unscaled from the top-left corner as the
// still photo is shown later, and offers the source through automation.
#pragma once

#include "CameraControl.h"
#include "camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

// Preview refresh interval.
inline constexpr UINT kPreviewIntervalMs = 50;

std::unique_ptr<CameraControlWindow> CreateVideoCaptureControl(HWND parent, const RECT& bounds, int controlId,
                                                               std::shared_ptr<VideoSource> source);

}  // namespace vardolin::capture
