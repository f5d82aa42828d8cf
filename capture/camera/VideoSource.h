// Where the video-capture control gets its pictures and driver dialogs from:
// a real camera or the simulated one.
#pragma once

#include "BitmapFile.h"

#include <windows.h>

namespace vardolin::capture {

class VideoSource {
public:
    virtual ~VideoSource() = default;

    // The latest video frame; false when there is none yet.
    virtual bool CurrentFrame(BitmapPixels& frame) = 0;

    virtual bool FormatDialogAvailable() = 0;
    virtual bool SourceDialogAvailable() = 0;
    // Modal; the choices are applied before they return.
    virtual void ShowFormatDialog(HWND owner) = 0;
    virtual void ShowSourceDialog(HWND owner) = 0;
};

}  // namespace vardolin::capture
