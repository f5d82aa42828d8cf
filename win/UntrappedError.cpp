#include "win/UntrappedError.h"

#include "win/ComponentError.h"
#include "win/Environment.h"

namespace vardolin {

std::wstring UntrappedErrorText(long number, const std::wstring& description) {
    return L"运行时错误 '" + std::to_wstring(number) + L"':\r\n\r\n" + description;
}

void ReportCurrentError(HWND owner) noexcept {
    try {
        CaughtError error = CurrentError();
        ThreadEnvironment().ShowMessageBox(owner, UntrappedErrorText(error.number, WideDescription(error)),
                                           kProductTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Reporting must never take the host down; nothing more can be done.
    }
}

}  // namespace vardolin
