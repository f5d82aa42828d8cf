// What the photo handlers work on: the capture window's still-photo box with
// the crop frame, the crop preview, the camera, the two photo buttons, the
// label that explains the still, and what they remember during one load of
// the window.
#pragma once

#include "capture/CameraControl.h"
#include "capture/PictureBox.h"

#include <windows.h>

#include <memory>

namespace vardolin::capture {

// The crop frame's grab point, the last crop, and whether a crop was taken
// from a photo since the window was loaded. A new load starts a fresh one.
struct CaptureSession {
    int pressX = 0;  // twips from the frame's top-left corner
    int pressY = 0;
    RECT crop{};  // CropLeft, CropTop, CropRight, CropBottom
    bool cropFromPhoto = false;
    // While buttons are held on the still-photo box: whether the first went down on the frame.
    bool grabbedByFrame = false;
    // The still's 4:3 picture at the camera's full detail, taken with it when
    // photos larger than the designed size are wanted; null otherwise.
    std::shared_ptr<const BitmapPixels> detail;
};

struct PhotoParts {
    PictureBox& still;    // Picture1, with the crop frame
    PictureBox& preview;  // Picture2
    CaptureSession& session;
    CameraControlWindow* camera;  // null when the window holds none
    HWND takeButton;              // CmdSaveDIB: take a photo / back to the preview
    HWND storeButton;             // Command1: store the crop
    HWND hint;                    // Label1: what to do with the still
};

}  // namespace vardolin::capture
