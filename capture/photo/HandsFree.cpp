#include "capture/photo/HandsFree.h"

#include "capture/photo/TakePhoto.h"

namespace vardolin::capture {

void HandsFreeCapture::Tick(const PhotoParts& photo, bool enabled, const std::wstring& firstName, uint64_t nowMs) {
    CameraControlWindow* camera = photo.camera;
    if (!camera) return;
    bool offered = OffersNewPhoto(photo.takeButton);
    // The next name, or back to the live picture (重新照), arms it again.
    if (firstName != armedFor_ || (offered && stillShown_)) still_.Rearm();
    armedFor_ = firstName;
    stillShown_ = !offered;
    bool running = enabled && offered && IsWindowEnabled(photo.takeButton) && camera->Problem().empty() &&
                   !firstName.empty() && !still_.Fired();
    camera->LookForFaces(running);
    if (!running) {
        camera->ShowCountdown(0);
        if (!still_.Fired()) still_.Rearm();  // a face seen before the pause counts no more
        return;
    }
    FaceLook look = camera->Faces();
    if (look.number != 0 && look.number != lookSeen_) {
        lookSeen_ = look.number;
        still_.Look(look.tick, look.faces);
    }
    if (still_.Fire(nowMs)) {
        camera->ShowCountdown(0);
        camera->LookForFaces(false);
        TakeOrRetakePhoto(photo);
        stillShown_ = !OffersNewPhoto(photo.takeButton);
        return;
    }
    camera->ShowCountdown(still_.Countdown(nowMs));
}

}  // namespace vardolin::capture
