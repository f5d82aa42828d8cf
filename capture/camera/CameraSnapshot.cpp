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
