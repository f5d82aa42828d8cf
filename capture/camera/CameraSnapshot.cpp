#include "capture/camera/CameraSnapshot.h"

namespace vardolin::capture {

CameraView CameraSnapshot::Read() const {
    std::lock_guard<std::mutex> held(lock_);
    return view_;
}

CameraProblem CameraSnapshot::Problem() const {
    std::lock_guard<std::mutex> held(lock_);
    return view_.problem;
}

std::shared_ptr<FrameTap> CameraSnapshot::Tap() const {
    std::lock_guard<std::mutex> held(lock_);
    return view_.tap;
}

void CameraSnapshot::Publish(CameraView view) {
    HWND window = nullptr;
    {
        std::lock_guard<std::mutex> held(lock_);
        if (!window_) return;
        view_ = std::move(view);
        window = window_;
    }
    PostMessageW(window, message_, 0, 0);
}

void CameraSnapshot::Switching() {
    HWND window = nullptr;
    {
        std::lock_guard<std::mutex> held(lock_);
        view_.problem = CameraProblem::Starting;
        view_.tap.reset();
        window = window_;
    }
    if (window) PostMessageW(window, message_, 0, 0);
}

void CameraSnapshot::LookForFaces(bool on) {
    lookForFaces_ = on;
    if (on) return;
    std::lock_guard<std::mutex> held(lock_);
    faces_.faces.clear();
    faces_.tick = 0;
}

void CameraSnapshot::PublishFaces(FaceLook look) {
    std::lock_guard<std::mutex> held(lock_);
    if (!window_ || !lookForFaces_) return;
    look.number = faces_.number + 1;
    faces_ = std::move(look);
}

FaceLook CameraSnapshot::Faces() const {
    std::lock_guard<std::mutex> held(lock_);
    return faces_;
}

void CameraSnapshot::Close() {
    std::lock_guard<std::mutex> held(lock_);
    window_ = nullptr;
    view_.tap.reset();
}

bool CameraSnapshot::Closed() const {
    std::lock_guard<std::mutex> held(lock_);
    return !window_;
}

}  // namespace vardolin::capture
