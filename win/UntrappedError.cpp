#include "UntrappedError.h"

#include "ComponentError.h"
#include "JpegError.h"
#include "Environment.h"
#include "TextEncoding.h"

#include <exception>
#include <new>

namespace vardolin {
namespace {

struct NumberedError {
    long number;
    std::wstring description;
};

NumberedError ClassifyCurrentError() {
    try {
        throw;
    } catch (const ComponentError& e) {
        return {e.number(), e.description()};
    } catch (const JpegError& e) {
        return {e.code(), vardolin::Utf8ToWide(e.description())};
    } catch (const std::bad_alloc&) {
        return {error_number::kOutOfMemory, L"Out of memory"};
    } catch (const std::exception& e) {
        return {error_number::kAutomationError, vardolin::Utf8ToWide(e.what())};
    } catch (...) {
        return {error_number::kAutomationError, L"Automation error"};
    }
}

}  // namespace

std::wstring UntrappedErrorText(long number, const std::wstring& description) {
    return L"运行时错误 '" + std::to_wstring(number) + L"':\r\n\r\n" + description;
}

void ReportCurrentError(HWND owner) noexcept {
    try {
        NumberedError error = ClassifyCurrentError();
        ThreadEnvironment().ShowMessageBox(owner, UntrappedErrorText(error.number, error.description),
                                           kProductTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Reporting must never take the host down; nothing more can be done.
    }
}

}  // namespace vardolin
