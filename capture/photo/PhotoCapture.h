// Attaches taking, framing and storing photos to the capture window, and
// gives it our video-capture control.
#pragma once

#include "GetPICExtensions.h"

namespace vardolin::capture {

void AttachPhotoCapture(GetPICExtensions& slots);

}  // namespace vardolin::capture
