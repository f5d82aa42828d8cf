// The picture the crop preview shows until the first crop: a neutral
// head-and-shoulders outline of the crop frame's size.
#pragma once

#include "Win32Handles.h"

namespace vardolin::capture {

UniqueBitmap CreatePlaceholderPicture();

}  // namespace vardolin::capture
