#include "capture/ComponentState.h"

#include "win/ContinueOnError.h"
#include "capture/FormShow.h"
#include "capture/GetPIC.h"
#include "about/frmAbout.h"

namespace vardolin::capture {
namespace {

void KeepFirst(Microsoft::WRL::ComPtr<IDispatch>& kept, IDispatch* offered) {
    if (!kept) kept = offered;
}

}  // namespace

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

void FormShow(IDispatch* application, IDispatch* workbook, IDispatch* worksheet) noexcept {
    RunOrSkip([&] {
        ComponentState& component = CurrentComponentState();
        RunOrSkip([&] { KeepFirst(component.hostApplication, application); });
        RunOrSkip([&] { KeepFirst(component.hostWorkbook, workbook); });
        RunOrSkip([&] { KeepFirst(component.hostWorksheet, worksheet); });
        RunOrSkip([&] { component.CaptureWindow().Show(); });
    });
}

bool CanUnloadNow() noexcept { return GetPIC::LoadedCount() == 0; }

}  // namespace vardolin::capture
