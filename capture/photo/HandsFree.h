// Hands-free capture: while the live picture runs and the roster has a first
// name, the camera's thread looks for faces in the preview; once exactly one
// holds still, 3, 2, 1 are drawn over the preview and the still is taken as
// the take button takes it. Once per name: armed again by the next name or by
// going back to the live picture.
#pragma once

#include "autoframe/StillFace.h"
#include "capture/photo/PhotoParts.h"

#include <cstdint>
#include <string>

namespace vardolin::capture {

// How often the window looks at the camera's latest faces.
inline constexpr UINT kHandsFreeTickMs = 100;

class HandsFreeCapture {
public:
    // One tick of the window's timer. enabled is the user's option; firstName
    // the roster's first entry (empty: none). Errors of the still are raised.
    void Tick(const PhotoParts& photo, bool enabled, const std::wstring& firstName, uint64_t nowMs);

private:
    autoframe::StillFace still_;
    uint64_t lookSeen_ = 0;
    std::wstring armedFor_;
    bool stillShown_ = false;
};

}  // namespace vardolin::capture
