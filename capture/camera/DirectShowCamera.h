// A real webcam through DirectShow: the first video input device, its frames
// taken from a sample grabber behind the capture pin.
#pragma once

#include "camera/VideoSource.h"

#include <memory>

namespace vardolin::capture {

// Copies one 24-bit video sample (bottom-up, or top-down when the header's
// height is negative) into frame; false when the sample is too short.
bool CopyVideoSample(const BITMAPINFOHEADER& header, const uint8_t* sample, size_t size, BitmapPixels& frame);

// The first video input device, already running; null when there is none or
// it cannot be started.
std::unique_ptr<VideoSource> OpenFirstVideoInputDevice();

}  // namespace vardolin::capture
