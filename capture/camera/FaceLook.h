// The faces the camera thread's finder saw in one preview frame, as the
// window thread reads them for hands-free capture.
#pragma once

#include "autoframe/FaceBox.h"

#include <cstdint>
#include <vector>

namespace vardolin::capture {

struct FaceLook {
    uint64_t number = 0;                    // counts the looks; 0: none yet
    uint64_t tick = 0;                      // GetTickCount64 when it looked
    std::vector<autoframe::FaceBox> faces;  // in preview pixels, largest first
};

}  // namespace vardolin::capture
