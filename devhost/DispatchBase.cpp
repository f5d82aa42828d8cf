#include "devhost/DispatchBase.h"

#include <oleauto.h>

#include <new>

namespace vardolin::devhost {

Arguments::Arguments(const DISPPARAMS* params) {
    if (!params) return;
    // rgvarg holds the arguments last first.
    for (UINT i = params->cArgs; i-- > params->cNamedArgs;) {
        const VARIANT* v = &params->rgvarg[i];
        while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
        values_.push_back(v);
    }
}

const VARIANT* Arguments::Optional(size_t index) const noexcept {
    if (index >= values_.size()) return nullptr;
    const VARIANT* v = values_[index];
    if (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND) return nullptr;
    return v;
}

std::wstring Arguments::Text(size_t index) const {
    const VARIANT* v = Optional(index);
    if (!v) throw HostError{449, L"Argument not optional"};
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(v), 0, VT_BSTR))) throw HostError{13, L"Type mismatch"};
    std::wstring result(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
}

long Arguments::Long(size_t index, long fallback) const {
    const VARIANT* v = Optional(index);
    if (!v) return fallback;
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(v), 0, VT_I4))) throw HostError{13, L"Type mismatch"};
    return number.lVal;
}

HRESULT DispatchBase::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                             UINT*) {
    if (HRESULT refused = Admit(false); FAILED(refused)) return refused;
    bool known = false;
    for (const Member& member : Members()) known = known || member.id == id;
    if (!known) return DISP_E_MEMBERNOTFOUND;

    VARIANT scratch;
    VariantInit(&scratch);
    VARIANT* out = result ? result : &scratch;
    VariantInit(out);
    HRESULT hr = S_OK;
    try {
        Call(id, flags, Arguments(params), out);
    } catch (const HostError& error) {
        VariantClear(out);
        if (info) {
            *info = EXCEPINFO{};
            info->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, error.number);
            info->bstrDescription = SysAllocString(error.description.c_str());
            info->bstrSource = SysAllocString(L"devhost");
        }
        hr = DISP_E_EXCEPTION;
    } catch (const std::bad_alloc&) {
        VariantClear(out);
        hr = E_OUTOFMEMORY;
    } catch (...) {
        VariantClear(out);
        hr = E_FAIL;
    }
    VariantClear(&scratch);
    return hr;
}

void ReturnObject(VARIANT* result, IDispatch* object) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
}

void ReturnText(VARIANT* result, const std::wstring& text) {
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result->bstrVal) throw std::bad_alloc();
    result->vt = VT_BSTR;
}

}  // namespace vardolin::devhost
