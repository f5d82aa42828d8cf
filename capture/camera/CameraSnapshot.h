// What the window thread may know of the camera: the one object the window
// thread and the camera thread share (see the contract in CameraWorker.h).
// The camera thread publishes a whole view; the window thread reads a copy.
// Plain values only, apart from the FrameTap, itself safe from any thread.
#pragma once

#include "capture/camera/CameraProblem.h"
#include "capture/camera/FaceLook.h"
#include "capture/camera/FormatChoice.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vardolin::capture {

class FrameTap;

// One camera the system lists, as the source dialog shows it.
struct ListedCamera {
    std::wstring name;
    std::wstring path;  // what tells it apart (VideoDevice::path)
    bool hasPages = false;
    DetailOffered detail{1, 0, 0};  // its largest picture and the photo scale it gives
};

struct CameraView {
    CameraProblem problem = CameraProblem::Starting;
    // False until the camera thread has looked for cameras the first time.
    bool looked = false;
    std::vector<ListedCamera> cameras;  // in the system's order
    std::wstring path;                  // the camera in use, or the one that failed first; empty: none
    // Its capture pin: whether it has pages of its own, what it offers, and
    // the format it is set to when that is one of them.
    bool pinPages = false;
    std::vector<OfferedFormat> formats;
    std::optional<size_t> currentFormat;
    std::shared_ptr<FrameTap> tap;  // the latest preview picture; null unless live
};

class CameraSnapshot {
public:
    // Every publication posts message to window.
    CameraSnapshot(HWND window, UINT message) : window_(window), message_(message) {}

    CameraView Read() const;
    // The parts the preview reads on every tick, without copying the rest.
    CameraProblem Problem() const;
    std::shared_ptr<FrameTap> Tap() const;
    // Camera thread: the view as it is now. Nothing after Close.
    void Publish(CameraView view);
    // Window thread: until the camera thread publishes again, no frame is
    // offered and the camera is called starting (a switch the user asked for).
    void Switching();
    // Window thread: whether the camera thread looks for faces in the
    // preview (hands-free capture); off, the last look is forgotten.
    void LookForFaces(bool on);
    bool LookingForFaces() const noexcept { return lookForFaces_; }
    // Camera thread: a look's faces, without a message (the preview tick
    // reads them).
    void PublishFaces(FaceLook look);
    FaceLook Faces() const;
    // Window thread: the window is gone; nothing is published any more.
    void Close();
    bool Closed() const;

private:
    mutable std::mutex lock_;
    CameraView view_;
    FaceLook faces_;
    std::atomic<bool> lookForFaces_{false};
    HWND window_;
    UINT message_;
};

}  // namespace vardolin::capture
