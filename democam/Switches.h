// Test switches that make the demo camera fail the ways real cameras fail.
//
// The camera reads the environment variable VARDOLIN_DEMOCAM of the process
// that loaded it, again on every Pause/Run and on every frame, so a test may
// change it while a graph runs. The value is a ';'-separated list of entries:
//
//   inuse            Pause/Run from the stopped state fail with
//                    HRESULT_FROM_WIN32(ERROR_BUSY) (0x800700AA), what a USB
//                    camera's driver returns while another program holds
//                    the device; a camera already streaming goes on.
//   inuse=MS         in use as above until MS milliseconds after the camera
//                    DLL was loaded into the process, then free (a video
//                    call that ends). The DLL stays loaded while any of its
//                    objects lives.
//   unplugged        the camera stops delivering and reports EC_DEVICE_LOST
//                    once (param1: the filter's IUnknown, param2: 0, device
//                    removed); while set, Pause/Run fail with
//                    HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) (0x8007048F).
//                    Cleared while the graph still runs, the camera reports
//                    EC_DEVICE_LOST with param2 1 (device back) and delivers
//                    again once the graph is stopped and run again.
//   stalled          the camera keeps running but delivers no frame and says
//                    nothing, as a hung driver does; frames resume when the
//                    entry goes.
//   firstframe=MS    after each Run from the stopped state the first frame
//                    comes MS milliseconds late (a slow USB camera); the
//                    frames after it come at the usual rate.
//   formats=LIST     offer only these pixel formats (',' between them: rgb24,
//                    yuy2, nv12), each at 320x240, 640x480, 1280x720
//                    and 1920x1080.
//   sizes=LIST       offer only these frame sizes (',' between them, each
//                    WIDTHxHEIGHT, e.g. 320x240), in that order, the first
//                    the default; sizes the camera does not know are ignored.
//                    An older camera offers 320x240 alone.
//   vih2             every media type offered, reported and accepted has a
//                    VIDEOINFOHEADER2 format block (FORMAT_VideoInfo2); types
//                    with a VIDEOINFOHEADER are refused.
//   nopages=WHERE    pin, filter or both: that object does not offer
//                    ISpecifyPropertyPages, as page-less cameras do. Read
//                    when the camera object is created (an object's
//                    interfaces do not change while it lives).
//   strict           the filter behaves as an apartment-threaded one reached
//                    from another apartment: its control interfaces
//                    (IAMStreamConfig, ISpecifyPropertyPages, IAMVideoProcAmp,
//                    IKsPropertySet, on the filter and on its pin) refuse
//                    calls from any thread but the one that created the
//                    filter with RPC_E_WRONG_THREAD (0x8001010E). Read when
//                    the camera object is created.
//   time=MS          freeze the scene clock at MS milliseconds (the clock
//                    shows it as a time of day), so frames are repeatable.
//   scene=NAME       film this scene whatever the camera's scene control
//                    says: portrait (the drawn one) or photo (PhotoScene.h).
//   blur=SIGMA       every frame blurred with a Gaussian of SIGMA pixels of
//                    the frame (a decimal, e.g. 3 or 1.5; at most 20), as an
//                    out-of-focus lens or a moving subject gives.
//   gain=G           every channel of every frame multiplied by G (a
//                    decimal, e.g. 0.3 or 1.8; at most 10) and clipped, as
//                    the camera's exposure would make it too dark or too
//                    bright. Applied before the blur.
//   moving           the scene's clock runs 41 times as fast, so the
//                    photograph sweeps across the frame (a face that keeps
//                    moving, up to about 25 stage pixels in 250 ms); the
//                    drawn scene sways faster. When the entry goes, the scene
//                    holds still again (with time=MS: perfectly still).
//   moving=MS        moving as above until MS milliseconds after the camera
//                    DLL was loaded into the process, then still.
//
// An entry may start with a camera's friendly name or its device path and ':'
// to apply to that camera only, e.g. "Vardolin Demo Camera 2:inuse". The
// twin camera shares the first camera's friendly name, so its name reaches
// both; a device path (Identity.cpp) reaches one. Unknown entries are
// ignored. Without the variable the camera offers RGB24 and YUY2.
#pragma once

#include "democam/DemoScene.h"
#include "democam/Identity.h"
#include "democam/VideoFormat.h"

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

namespace vardolin::democam {

struct Switches {
    bool inUse = false;
    // In use until this long after the DLL was loaded (with inUse false).
    std::optional<std::chrono::milliseconds> inUseFor;
    bool unplugged = false;
    bool stalled = false;
    std::chrono::milliseconds firstFrameDelay{0};
    std::vector<PixelFormat> formats{PixelFormat::Rgb24, PixelFormat::Yuy2};
    std::vector<FrameSize> sizes{std::begin(kFrameSizes), std::end(kFrameSizes)};
    FormatBlock formatBlock = FormatBlock::VideoInfo;
    bool pinPages = true;
    bool filterPages = true;
    bool strictThreads = false;
    std::optional<std::chrono::milliseconds> frozenTime;
    std::optional<Scene> scene;
    double blurSigma = 0;  // none
    double gain = 1;
    bool moving = false;
    // Moving until this long after the DLL was loaded (with moving false).
    std::optional<std::chrono::milliseconds> movingFor;
};

inline constexpr double kLargestBlur = 20;
inline constexpr double kLargestGain = 10;

// How far ahead of the scene's own moment the camera draws it: the
// hurried clock of moving, zero while the scene holds still.
std::chrono::milliseconds SceneHurry(const Switches& switches) noexcept;

// Whether the camera is held by another program at this moment.
bool InUseNow(const Switches& switches) noexcept;

// The switches in text that apply to the camera of that friendly name and
// device path.
Switches ParseSwitches(std::wstring_view text, const CameraIdentity& camera);

// The switches of this process's environment for that camera.
Switches ReadSwitches(const CameraIdentity& camera);

}  // namespace vardolin::democam
