#include "automation/DispatchArgs.h"

#include "win/Win32Handles.h"

namespace vardolin {
namespace {

bool IsMissing(const VARIANT& value) noexcept {
    return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

}  // namespace

HRESULT DispatchArgs::ExpectCount(unsigned minimum, unsigned maximum) const noexcept {
    if (params_.cArgs < minimum || params_.cArgs > maximum) return DISP_E_BADPARAMCOUNT;
    // Named arguments must name parameters (0 .. maximum - 1), once each.
    for (UINT k = 0; k < params_.cNamedArgs; ++k) {
        DISPID named = params_.rgdispidNamedArgs[k];
        if (named < 0 || static_cast<unsigned>(named) >= maximum) return DISP_E_PARAMNOTFOUND;
    }
    return S_OK;
}

HRESULT DispatchArgs::ExpectPut() const noexcept {
    if (params_.cArgs != 1 || params_.cNamedArgs != 1 || params_.rgdispidNamedArgs[0] != PutValue)
        return DISP_E_BADPARAMCOUNT;
    return S_OK;
}

int DispatchArgs::Position(DISPID index) const noexcept {
    for (UINT k = 0; k < params_.cNamedArgs; ++k)
        if (params_.rgdispidNamedArgs[k] == index) return static_cast<int>(k);
    UINT positional = params_.cArgs - params_.cNamedArgs;
    // Positional arguments are stored last to first.
    if (index >= 0 && static_cast<UINT>(index) < positional)
        return static_cast<int>(params_.cArgs - 1 - static_cast<UINT>(index));
    return -1;
}

HRESULT DispatchArgs::Convert(DISPID index, VARTYPE type, vardolin::Variant& value) const noexcept {
    int position = Position(index);
    if (position < 0) return S_FALSE;
    VARIANT& raw = value.get();
    HRESULT hr = VariantCopyInd(&raw, &params_.rgvarg[position]);
    if (SUCCEEDED(hr) && IsMissing(raw)) return S_FALSE;
    // An object stands for its default value; one without a usable one does not fit.
    if (SUCCEEDED(hr) && type != VT_DISPATCH && FAILED(vardolin::ReplaceObjectByDefaultValue(raw, nullptr)))
        hr = DISP_E_TYPEMISMATCH;
    if (SUCCEEDED(hr)) hr = VariantChangeType(&raw, &raw, 0, type);
    if (FAILED(hr) && argErr_) *argErr_ = static_cast<UINT>(position);
    return hr;
}

HRESULT DispatchArgs::GetLong(DISPID index, LONG& value) const noexcept {
    HRESULT hr = GetOptionalLong(index, 0, value);
    return hr == S_FALSE ? DISP_E_PARAMNOTOPTIONAL : hr;
}

HRESULT DispatchArgs::GetOptionalLong(DISPID index, LONG fallback, LONG& value) const noexcept {
    vardolin::Variant converted;
    HRESULT hr = Convert(index, VT_I4, converted);
    value = hr == S_OK ? V_I4(&converted.get()) : fallback;
    return hr;
}

HRESULT DispatchArgs::GetString(DISPID index, vardolin::UniqueBstr& value) const noexcept {
    vardolin::Variant converted;
    HRESULT hr = Convert(index, VT_BSTR, converted);
    if (hr == S_FALSE) return DISP_E_PARAMNOTOPTIONAL;
    if (FAILED(hr)) return hr;
    // Take the string out of the variant, which then has nothing to free.
    VARIANT raw = converted.release();
    value.reset(V_BSTR(&raw));
    return S_OK;
}

HRESULT DispatchArgs::GetDispatch(DISPID index, Microsoft::WRL::ComPtr<IDispatch>& value) const noexcept {
    vardolin::Variant converted;
    HRESULT hr = Convert(index, VT_DISPATCH, converted);
    if (hr == S_FALSE) return DISP_E_PARAMNOTOPTIONAL;
    if (FAILED(hr)) return hr;
    value = V_DISPATCH(&converted.get());
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
    UniqueBstr held(value);
    if (!result) return S_OK;
    VariantInit(result);
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = held.release();
    return S_OK;
}

}  // namespace vardolin
