// What the photo handlers remember during one load of the capture window:
// the crop frame's grab point, the last crop, and whether a crop was taken
// from a photo since the window was loaded.
#pragma once

#include <windows.h>

namespace vardolin::capture {

class GetPIC;

struct CaptureSession {
    int pressX = 0;  // twips from the frame's top-left corner
    int pressY = 0;
    RECT crop{};  // CropLeft, CropTop, CropRight, CropBottom
    bool cropFromPhoto = false;
    // While buttons are held on the still-photo box: whether the first went down on the frame.
    bool grabbedByFrame = false;
};

// The session of the window's current load; a new load starts a fresh one.
// Raises "object required" when the window is not loaded.
CaptureSession& SessionOf(GetPIC& window);

}  // namespace vardolin::capture
