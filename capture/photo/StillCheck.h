// Checking a new still while the person is still there: with the user's
// option on, the first problem the photo checks find is drawn on the still
// (a warning only; the still can be stored all the same).
#pragma once

#include "autoframe/PhotoChecks.h"
#include "capture/BitmapFile.h"
#include "capture/photo/PhotoParts.h"

#include <windows.h>

namespace vardolin::capture {

// The line drawn for a warning; empty for none.
const wchar_t* StillWarningText(autoframe::PhotoWarning warning);

// The warning for a bottom-up 24-bit still with the crop frame at frame (in
// its pixels) and photos photoScale times the designed size.
autoframe::PhotoWarning CheckStill(const BitmapPixels& picture, const RECT& frame, int photoScale);

// After a new still: with the option on, checks it and draws its warning.
void CheckNewStill(const PhotoParts& photo);

}  // namespace vardolin::capture
