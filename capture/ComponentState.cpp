#include "ComponentState.h"

#include "FormShow.h"
#include "GetPIC.h"
#include "frmAbout.h"

namespace vardolin::capture {

ComponentState::ComponentState() = default;
ComponentState::~ComponentState() = default;

GetPIC& ComponentState::CaptureWindow() {
    if (!captureWindow_) captureWindow_ = std::make_unique<GetPIC>(*this);
    return *captureWindow_;
}

about::frmAbout& ComponentState::AboutWindow() {
    if (!aboutWindow_) aboutWindow_ = std::make_unique<about::frmAbout>(CaptureWindow(), environment);
    return *aboutWindow_;
}

ComponentState& CurrentComponentState() {
    thread_local ComponentState* current = nullptr;
    if (!current) current = new ComponentState();
    return *current;
}

bool CanUnloadNow() noexcept { return GetPIC::LoadedCount() == 0; }

}  // namespace vardolin::capture
