// Where the video-capture control gets its pictures and driver dialogs from.
#pragma once

#include "BitmapFile.h"
#include "camera/CameraProblem.h"

#include <windows.h>

namespace vardolin::capture {

class VideoSource {
public:
    virtual ~VideoSource() = default;

    // Connects to the camera; its events arrive at window as message, and
    // each should be answered with Poll.
    virtual void Open(HWND window, UINT message) = 0;
    // Follows the camera: takes its events, notices a camera that stopped
    // delivering, and reconnects one that was lost.
    virtual void Poll() = 0;

    // The latest live frame as the 320 x 240 preview picture; false when the
    // camera delivers none (never an old frame of a lost camera).
    virtual bool CurrentFrame(BitmapPixels& frame) = 0;
    // Why there is no live picture; None while it is live.
    virtual CameraProblem Problem() const = 0;

    virtual bool FormatDialogAvailable() = 0;
    virtual bool SourceDialogAvailable() = 0;
    // Modal; the choices are applied before they return.
    virtual void ShowFormatDialog(HWND owner) = 0;
    virtual void ShowSourceDialog(HWND owner) = 0;
};

}  // namespace vardolin::capture
