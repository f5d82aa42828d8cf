#include "AutomationError.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <new>

#include "JpegError.h"
#include "TextEncoding.h"

using Microsoft::WRL::ComPtr;

namespace vardolin {

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

HRESULT ErrorFromCurrentException(REFIID iid) noexcept {
    try {
        throw;
    } catch (const JpegError& error) {
        try {
            return RaiseError(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, error.code()), iid,
                              Utf8ToWide(error.description()));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
        try {
            return RaiseError(E_FAIL, iid, Utf8ToWide(error.what()));
        } catch (...) {
            return E_FAIL;
        }
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace vardolin
