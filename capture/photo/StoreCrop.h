// The store button: writes the crop preview as the photo of the first person
// on the roster, who then leaves the roster.
#pragma once

#include "win/Environment.h"
#include "capture/JpegQuality.h"
#include "roster/RosterList.h"
#include "win/TopmostWindow.h"
#include "capture/photo/PhotoParts.h"

namespace vardolin::capture {

// The quality the encoder gets: the current quality held within 30..100 (in
// memory only, never stored in the settings).
void ClampJpegQuality(JpegQuality& quality);

// Message boxes are shown with the window off the top.
void StoreCrop(const PhotoParts& photo, roster::RosterList roster, TopmostWindow& window,
               const Environment& environment, JpegQuality& quality) noexcept;

}  // namespace vardolin::capture
