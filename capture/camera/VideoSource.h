// Where the video-capture control gets its pictures and driver dialogs from.
// Everything here is called on the window's (the host's user-interface)
// thread and returns at once: a source that talks to a camera does that
// elsewhere and tells the window when something changed.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/camera/CameraProblem.h"
#include "capture/camera/FaceLook.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace vardolin::capture {

class VideoSource {
public:
    virtual ~VideoSource() = default;

    // Connects to the camera. Whenever Problem or the dialogs' availability
    // changes, message is posted to window.
    virtual void Open(HWND window, UINT message) = 0;
    // The window is closing: nothing is started any more, an open driver
    // page is cancelled, and the camera is let go in the background.
    virtual void Close() {}
    // A video device arrived or went: a source without a picture tries again now.
    virtual void DevicesChanged() {}

    // Counts the camera's frames; changes whenever a new one arrived, 0 while
    // there is none.
    virtual uint64_t FrameNumber() const = 0;
    // The latest live frame as the 320 x 240 preview picture; false when the
    // camera delivers none (never an old frame of a lost camera).
    virtual bool CurrentFrame(BitmapPixels& frame) = 0;
    // The latest frame for a still, as CurrentFrame; where larger photos are
    // wanted, the same frame's full detail is kept as StillDetail.
    virtual bool TakeStill(BitmapPixels& frame) { return CurrentFrame(frame); }
    // The detail of the last still; null when there is none.
    virtual std::shared_ptr<const BitmapPixels> StillDetail() const { return nullptr; }
    // Why there is no live picture; None while it is live.
    virtual CameraProblem Problem() const = 0;

    // Hands-free capture: whether the camera's own thread looks for faces in
    // the preview, and its latest look (none while it does not look).
    virtual void LookForFaces(bool) {}
    virtual FaceLook Faces() const { return {}; }

    virtual bool FormatDialogAvailable() = 0;
    virtual bool SourceDialogAvailable() = 0;
    // Modal; the choices are applied before they return.
    virtual void ShowFormatDialog(HWND owner) = 0;
    virtual void ShowSourceDialog(HWND owner) = 0;
};

}  // namespace vardolin::capture
