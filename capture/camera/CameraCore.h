// The camera as its own thread runs it: the cameras the system lists, the
// first of them that starts (the one the user chose last time tried first),
// watched while it runs, given up for the next when it sends nothing, tried
// again by itself whenever there is no live picture, and the drivers' pages.
// Every method runs on the camera thread (CameraWorker.h); the core keeps no
// lock of its own and tells the window thread what it may know through the
// snapshot.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/camera/CameraSnapshot.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vardolin::capture {

class CameraGraph;
class FrameTap;
struct VideoDevice;

// A running camera's first frame may take this long (slow USB cameras need
// seconds to start streaming); a camera still silent then goes last and is
// given the next, longer grace when its turn comes again.
inline constexpr ULONGLONG kFirstFrameGraceMs[] = {8000, 16000, 30000};
// After its first frame, a camera delivering nothing for this long counts as lost.
inline constexpr ULONGLONG kSilentCameraMs = 2000;
// How often a camera is looked for again while there is no live picture
// (a device's arrival starts a look at once).
inline constexpr ULONGLONG kRetryIntervalMs = 3000;
// How often the running camera is looked at (events, first frame, silence).
inline constexpr DWORD kWatchIntervalMs = 250;
// The face finder looks at the preview at most this often (5 times a second).
inline constexpr ULONGLONG kFaceLookIntervalMs = 200;

class CameraCore {
public:
    CameraCore(std::shared_ptr<CameraSnapshot> snapshot, int photoScale);
    ~CameraCore();
    CameraCore(const CameraCore&) = delete;
    CameraCore& operator=(const CameraCore&) = delete;

    void Open();
    // The watch tick.
    void Watch();
    // A device arrived or went: the list is read again, and a camera is
    // looked for now when there is no picture.
    void DevicesChanged();
    // The user chose this camera and photo scale (both already remembered).
    void Choose(const std::wstring& path, int photoScale);
    // Our own list's choice: the camera in use runs in its offered format index.
    void UseFormat(size_t index);
    // The capture pin's own pages, modal to owner. The graph stops first (a
    // pin changes its format only while stopped) and is built again on the
    // same filter in the format then set on the pin.
    void ShowFormatPages(HWND owner);
    // The pages of the camera listed with that path, modal to owner.
    void ShowSourcePages(HWND owner, const std::wstring& path);
    // The last job: everything of the camera is released on this thread.
    void Close();

private:
    struct InUse;  // the camera in use, or the one whose failure is shown

    void Enumerate();
    void OpenFirstThatStarts();
    bool StartOn(int photoScale);
    void Started();
    void Lose();
    ULONGLONG GraceOf(const std::wstring& path) const;
    bool MayStart() const;
    CameraProblem Shown() const;
    void Publish();
    void LookForFaces(FrameTap& tap, ULONGLONG now);

    std::shared_ptr<CameraSnapshot> snapshot_;
    int scale_;  // the photo scale the camera's format is chosen for
    bool looked_ = false;
    std::vector<VideoDevice> devices_;                // as last listed
    std::map<std::wstring, ListedCamera> described_;  // by path, each bound once
    std::unique_ptr<InUse> inUse_;
    std::unique_ptr<CameraGraph> graph_;
    CameraProblem problem_ = CameraProblem::Starting;
    bool frameSeen_ = false;
    bool pageOpen_ = false;
    ULONGLONG startedAt_ = 0;
    ULONGLONG lastAttempt_ = 0;
    ULONGLONG lastFaceLook_ = 0;
    uint64_t lookedAtFrame_ = 0;
    BitmapPixels looking_;                // the preview the finder works on
    std::wstring lostPath_;               // lost while it ran: tried first when it is back
    std::map<std::wstring, int> silent_;  // started but sent nothing: how often; tried last
};

}  // namespace vardolin::capture
