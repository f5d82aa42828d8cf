// The automation side of our video-capture control: the five members the
// capture window calls, by name or by dispatch id, over a video source.
#pragma once

#include "capture/camera/VideoSource.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <memory>

namespace vardolin::capture {

// dialogOwner: the window the driver dialogs are modal to (may be null).
Microsoft::WRL::ComPtr<IDispatch> CreateCameraControlObject(std::shared_ptr<VideoSource> source, HWND dialogOwner);

}  // namespace vardolin::capture
