#include "ComponentError.h"

#include <oleauto.h>

namespace vardolin {
namespace {

std::wstring SystemMessage(HRESULT hr) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"Automation error";
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return message;
}

// Takes the strings out of an EXCEPINFO, filling it first when the callee
// deferred that, and frees them.
std::wstring TakeDescription(EXCEPINFO& info, HRESULT& code) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    std::wstring description = info.bstrDescription ? info.bstrDescription : L"";
    if (info.scode) code = info.scode;
    else if (info.wCode) code = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
    return description;
}

}  // namespace

ComponentError ComponentError::TypeMismatch() {
    return {error_number::kTypeMismatch, L"Type mismatch"};
}
ComponentError ComponentError::Overflow() { return {error_number::kOverflow, L"Overflow"}; }
ComponentError ComponentError::InvalidPropertyValue() {
    return {error_number::kInvalidPropertyValue, L"Invalid property value"};
}

long ErrorNumberOf(HRESULT hr) noexcept {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return static_cast<long>(hr);
}

void ThrowIfFailed(HRESULT hr, EXCEPINFO* info) {
    if (SUCCEEDED(hr)) return;
    std::wstring description;
    if (hr == DISP_E_EXCEPTION && info) description = TakeDescription(*info, hr);
    if (description.empty()) description = SystemMessage(hr);
    throw ComponentError(ErrorNumberOf(hr), description);
}

}  // namespace vardolin
