#include "Component.h"

#include "FormShow.h"
#include "GetPIC.h"
#include "frmAbout.h"

namespace vardolin::capture {

Component::Component() = default;
Component::~Component() = default;

GetPIC& Component::CaptureWindow() {
    if (!captureWindow_) captureWindow_ = std::make_unique<GetPIC>(*this);
    return *captureWindow_;
}

about::frmAbout& Component::AboutWindow() {
    if (!aboutWindow_) aboutWindow_ = std::make_unique<about::frmAbout>(CaptureWindow(), environment);
    return *aboutWindow_;
}

Component& CurrentComponent() {
    thread_local Component* current = nullptr;
    if (!current) current = new Component();
    return *current;
}

bool CanUnloadNow() noexcept { return GetPIC::LoadedCount() == 0; }

}  // namespace vardolin::capture
