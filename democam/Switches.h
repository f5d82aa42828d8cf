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
//   formats=LIST     offer only these pixel formats (',' between them: rgb24,
//                    yuy2, nv12), each at 320x240, 640x480 and 1280x720.
//   time=MS          freeze the scene clock at MS milliseconds (the clock
//                    shows it as a time of day), so frames are repeatable.
//   scene=NAME       film this scene whatever the camera's scene control
//                    says: portrait (the drawn one) or photo (PhotoScene.h).
//
// An entry may start with a camera's friendly name and ':' to apply to that
// camera only, e.g. "Vardolin Demo Camera 2:inuse". Unknown entries are
// ignored. Without the variable the camera offers RGB24 and YUY2.
#pragma once

#include "DemoScene.h"
#include "VideoFormat.h"

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

namespace vardolin::democam {

struct Switches {
    bool inUse = false;
    bool unplugged = false;
    bool stalled = false;
    std::vector<PixelFormat> formats{PixelFormat::Rgb24, PixelFormat::Yuy2};
    std::optional<std::chrono::milliseconds> frozenTime;
    std::optional<Scene> scene;
};

// The switches in text that apply to the camera called cameraName.
Switches ParseSwitches(std::wstring_view text, std::wstring_view cameraName);

// The switches of this process's environment for that camera.
Switches ReadSwitches(std::wstring_view cameraName);

}  // namespace vardolin::democam
