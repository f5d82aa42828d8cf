#include "win/AutomationError.h"

#include <oleauto.h>
#include <wrl/client.h>

#include "win/TextEncoding.h"

using Microsoft::WRL::ComPtr;

namespace vardolin {
namespace {

// The HRESULT of a component error's number: a number of the control
// facility, or an HRESULT a callee failed with, passed on as it was.
HRESULT ResultOfNumber(int32_t number) noexcept {
    if (number > 0 && number <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
    return number < 0 ? static_cast<HRESULT>(number) : E_FAIL;
}

}  // namespace

HRESULT RaiseError(HRESULT hr, REFIID iid, const std::wstring& description) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
        create->SetGUID(iid);
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
    }
    return hr;
}

HRESULT RaiseCaughtError(const CaughtError& error, REFIID iid) noexcept {
    HRESULT hr = E_UNEXPECTED;
    switch (error.kind) {
    case CaughtError::Kind::Component: hr = ResultOfNumber(error.number); break;
    case CaughtError::Kind::System: hr = E_FAIL; break;
    case CaughtError::Kind::OutOfMemory: return E_OUTOFMEMORY;
    case CaughtError::Kind::Unknown: return E_UNEXPECTED;
    }
    try {
        return RaiseError(hr, iid, Utf8ToWide(error.description));
    } catch (...) {
        return error.kind == CaughtError::Kind::Component ? E_OUTOFMEMORY : hr;
    }
}

HRESULT ResultOf(const CaughtError& error) noexcept {
    return error.kind == CaughtError::Kind::OutOfMemory ? E_OUTOFMEMORY : E_UNEXPECTED;
}

}  // namespace vardolin
