#include "UntrappedError.h"

#include "ComponentError.h"
#include "JpegError.h"
#include "Environment.h"

#include <exception>
#include <new>

namespace vardolin::capture {
namespace {

std::wstring FromUtf8(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(length - 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    return wide;
}

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
        return {e.code(), FromUtf8(e.description())};
    } catch (const std::bad_alloc&) {
        return {7, L"Out of memory"};
    } catch (const std::exception& e) {
        return {error_number::kAutomationError, FromUtf8(e.what())};
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

}  // namespace vardolin::capture
