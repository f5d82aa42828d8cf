#include "FormShow.h"

#include "ComponentState.h"
#include "ContinueOnError.h"
#include "GetPIC.h"

namespace vardolin::capture {
namespace {

void KeepFirst(Microsoft::WRL::ComPtr<IDispatch>& kept, IDispatch* offered) {
    if (!kept) kept = offered;
}

}  // namespace

void FormShow(IDispatch* application, IDispatch* workbook, IDispatch* worksheet) noexcept {
    RunOrSkip([&] {
        ComponentState& component = CurrentComponentState();
        RunOrSkip([&] { KeepFirst(component.hostApplication, application); });
        RunOrSkip([&] { KeepFirst(component.hostWorkbook, workbook); });
        RunOrSkip([&] { KeepFirst(component.hostWorksheet, worksheet); });
        RunOrSkip([&] { component.CaptureWindow().Show(); });
    });
}

}  // namespace vardolin::capture
