// What the capture window holds from its load to its unload; shared by the
// files that implement GetPIC.
#pragma once

#include "win/DialogKeyboard.h"
#include "capture/GetPIC.h"
#include "roster/DoneMarks.h"
#include "roster/ListDrawingTools.h"
#include "capture/photo/HandsFree.h"
#include "capture/photo/PhotoFolderCheck.h"
#include "win/Win32Handles.h"

#include <map>
#include <memory>

namespace vardolin::capture {

// "宋体" in the GB2312 character set, at a height in pixels.
UniqueFont CreateSongtiFont(int pixelHeight);

// Everything that lives from the window's load to its unload.
struct GetPIC::Loaded {
    HWND window = nullptr;  // destroyed by closing, never by this object
    std::map<ControlId, HWND> controls;
    UniqueFont controlFont = CreateSongtiFont(12);  // 9 points
    UniqueFont listFont = CreateSongtiFont(21);     // 15.75 points
    UniqueFont qualityFont = CreateSongtiFont(14);  // 10.5 points
    std::unique_ptr<PictureBox> picture1;
    std::unique_ptr<PictureBox> picture2;
    std::unique_ptr<CameraControlWindow> camera;
    roster::RosterList roster{nullptr};  // List1
    CaptureSession session;
    UniqueMenu menuThe;
    std::shared_ptr<PhotoFolderCheck> photoFolderCheck;
    roster::DoneMarks doneMarks;  // who on the roster has a photo
    HandsFreeCapture handsFree;
    bool handsFreeOn = false;  // the user's option, read at load and after the source dialog
    // Released at unload, while the controls still exist.
    UniqueWindow tooltip;
    std::unique_ptr<roster::ListDrawingTools> listTools;
    std::unique_ptr<DialogKeyboard> keyboard;
};

}  // namespace vardolin::capture
