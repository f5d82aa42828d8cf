#include "win/ComponentError.h"

#include <oleauto.h>

#include "win/TextEncoding.h"
#include "win/Win32Handles.h"

namespace vardolin {
namespace {

// The system's text for a code, with the line break that ends it taken off;
// empty when the system has no text for it.
std::wstring FormattedSystemText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    UniqueLocalMemory<wchar_t> held(text);
    std::wstring message = length ? std::wstring(text, length) : std::wstring();
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    return message;
}

// Takes the strings out of an EXCEPINFO, filling it first when the callee
// deferred that, and frees them.
std::wstring TakeDescription(EXCEPINFO& info, HRESULT& code) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    UniqueBstr description(info.bstrDescription);
    UniqueBstr source(info.bstrSource);
    UniqueBstr helpFile(info.bstrHelpFile);
    if (info.scode) code = info.scode;
    else if (info.wCode) code = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode);
    info = EXCEPINFO{};
    return description ? std::wstring(description.get()) : std::wstring();
}

}  // namespace

ComponentError ComponentErrorFromWide(int32_t number, std::wstring_view description) {
    return {number, WideToUtf8(description)};
}

std::wstring WideDescription(const ComponentError& error) { return Utf8ToWide(error.description()); }
std::wstring WideDescription(const CaughtError& error) { return Utf8ToWide(error.description); }

long ErrorNumberOf(HRESULT hr) noexcept {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return static_cast<long>(hr);
}

void ThrowIfFailed(HRESULT hr, EXCEPINFO* info) {
    if (SUCCEEDED(hr)) return;
    std::wstring description;
    if (hr == DISP_E_EXCEPTION && info) description = TakeDescription(*info, hr);
    if (description.empty()) description = FormattedSystemText(static_cast<DWORD>(hr));
    if (description.empty()) description = Utf8ToWide(messages::kAutomationError);
    throw ComponentErrorFromWide(ErrorNumberOf(hr), description);
}

std::wstring SystemMessage(DWORD error) {
    std::wstring message = FormattedSystemText(error);
    while (!message.empty() && message.back() == L' ') message.pop_back();
    return message.empty() ? L"错误 " + std::to_wstring(error) : message;
}

std::wstring WithoutFullStop(std::wstring message) {
    while (!message.empty() && (message.back() == L'.' || message.back() == L'\u3002' || message.back() == L' '))
        message.pop_back();
    return message;
}

}  // namespace vardolin
