#include "DispatchArgs.h"

#include "Variant.h"

namespace vardolin::server {
namespace {

bool IsMissing(const VARIANT& value) noexcept {
    return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

}  // namespace

HRESULT DispatchArgs::ExpectCount(unsigned minimum, unsigned maximum) const noexcept {
    if (Params.cArgs < minimum || Params.cArgs > maximum) return DISP_E_BADPARAMCOUNT;
    // Named arguments must name parameters (0 .. maximum - 1), once each.
    for (UINT k = 0; k < Params.cNamedArgs; ++k) {
        DISPID named = Params.rgdispidNamedArgs[k];
        if (named < 0 || static_cast<unsigned>(named) >= maximum) return DISP_E_PARAMNOTFOUND;
    }
    return S_OK;
}

HRESULT DispatchArgs::ExpectPut() const noexcept {
    if (Params.cArgs != 1 || Params.cNamedArgs != 1 || Params.rgdispidNamedArgs[0] != PutValue)
        return DISP_E_BADPARAMCOUNT;
    return S_OK;
}

int DispatchArgs::Position(DISPID index) const noexcept {
    for (UINT k = 0; k < Params.cNamedArgs; ++k)
        if (Params.rgdispidNamedArgs[k] == index) return static_cast<int>(k);
    UINT positional = Params.cArgs - Params.cNamedArgs;
    // Positional arguments are stored last to first.
    if (index >= 0 && static_cast<UINT>(index) < positional)
        return static_cast<int>(Params.cArgs - 1 - static_cast<UINT>(index));
    return -1;
}

HRESULT DispatchArgs::Convert(DISPID index, VARTYPE type, ScopedVariant& value) const noexcept {
    int position = Position(index);
    if (position < 0) return S_FALSE;
    HRESULT hr = VariantCopyInd(value.get(), &Params.rgvarg[position]);
    if (SUCCEEDED(hr) && IsMissing(*value)) return S_FALSE;
    // An object stands for its default value; one without a usable one does not fit.
    if (SUCCEEDED(hr) && type != VT_DISPATCH && FAILED(capture::ReplaceObjectByDefaultValue(*value.get(), nullptr)))
        hr = DISP_E_TYPEMISMATCH;
    if (SUCCEEDED(hr)) hr = VariantChangeType(value.get(), value.get(), 0, type);
    if (FAILED(hr) && ArgErr) *ArgErr = static_cast<UINT>(position);
    return hr;
}

HRESULT DispatchArgs::GetLong(DISPID index, LONG& value) const noexcept {
    HRESULT hr = GetOptionalLong(index, 0, value);
    return hr == S_FALSE ? DISP_E_PARAMNOTOPTIONAL : hr;
}

HRESULT DispatchArgs::GetOptionalLong(DISPID index, LONG fallback, LONG& value) const noexcept {
    ScopedVariant converted;
    HRESULT hr = Convert(index, VT_I4, converted);
    value = hr == S_OK ? V_I4(&*converted) : fallback;
    return hr;
}

HRESULT DispatchArgs::GetString(DISPID index, UniqueBstr& value) const noexcept {
    ScopedVariant converted;
    HRESULT hr = Convert(index, VT_BSTR, converted);
    if (hr == S_FALSE) return DISP_E_PARAMNOTOPTIONAL;
    if (FAILED(hr)) return hr;
    // Take the string out of the variant, which then has nothing to free.
    VARIANT* raw = converted.get();
    value.reset(V_BSTR(raw));
    V_VT(raw) = VT_EMPTY;
    return S_OK;
}

HRESULT DispatchArgs::GetDispatch(DISPID index, Microsoft::WRL::ComPtr<IDispatch>& value) const noexcept {
    ScopedVariant converted;
    HRESULT hr = Convert(index, VT_DISPATCH, converted);
    if (hr == S_FALSE) return DISP_E_PARAMNOTOPTIONAL;
    if (FAILED(hr)) return hr;
    value = V_DISPATCH(&*converted);
    return S_OK;
}

HRESULT ReturnLong(VARIANT* result, LONG value) noexcept {
    if (result) {
        VariantInit(result);
        V_VT(result) = VT_I4;
        V_I4(result) = value;
    }
    return S_OK;
}

HRESULT ReturnString(VARIANT* result, BSTR value) noexcept {
    if (!result) {
        SysFreeString(value);
        return S_OK;
    }
    VariantInit(result);
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = value;
    return S_OK;
}

}  // namespace vardolin::server
