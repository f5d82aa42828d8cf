#include "automation/Variant.h"

#include "win/ComponentError.h"

#include <wrl/client.h>

#include <utility>

namespace vardolin {

Variant::Variant(const std::wstring& text) {
    VariantInit(&value_);
    BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy) throw std::bad_alloc();
    value_.vt = VT_BSTR;
    value_.bstrVal = copy;
}

Variant::Variant(long number) noexcept {
    VariantInit(&value_);
    value_.vt = VT_I4;
    value_.lVal = number;
}

Variant::Variant(IDispatch* object) noexcept {
    VariantInit(&value_);
    value_.vt = VT_DISPATCH;
    value_.pdispVal = object;
    if (object) object->AddRef();
}

Variant::Variant(const Variant& other) {
    VariantInit(&value_);
    ThrowIfFailed(VariantCopy(&value_, const_cast<VARIANT*>(&other.value_)));
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

Variant Variant::Missing() noexcept {
    Variant missing;
    missing.value_.vt = VT_ERROR;
    missing.value_.scode = DISP_E_PARAMNOTFOUND;
    return missing;
}

Variant Variant::Boolean(bool value) noexcept {
    Variant boolean;
    boolean.value_.vt = VT_BOOL;
    boolean.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return boolean;
}

namespace {

bool IsObject(const VARIANT& value) noexcept { return value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN; }

// The value with references resolved and an object replaced by its default
// value. Such a value has no simple form when it is an object again.
Variant SimpleValue(const VARIANT& value) {
    Variant simple;
    VARIANT* raw = simple.put();
    ThrowIfFailed(VariantCopyInd(raw, const_cast<VARIANT*>(&value)));
    EXCEPINFO info{};
    HRESULT hr = ReplaceObjectByDefaultValue(*raw, &info);
    if (hr == DISP_E_TYPEMISMATCH) throw ComponentError::TypeMismatch();
    ThrowIfFailed(hr, &info);
    return simple;
}

Variant Converted(const VARIANT& value, VARTYPE type) {
    Variant simple = SimpleValue(value);
    Variant converted;
    ThrowIfFailed(
        VariantChangeTypeEx(converted.put(), const_cast<VARIANT*>(&simple.get()), LOCALE_USER_DEFAULT, 0, type));
    return converted;
}

}  // namespace

HRESULT ReplaceObjectByDefaultValue(VARIANT& value, EXCEPINFO* error) noexcept {
    if (!IsObject(value)) return S_OK;
    Microsoft::WRL::ComPtr<IDispatch> object;
    if (value.punkVal) value.punkVal->QueryInterface(IID_PPV_ARGS(&object));
    if (!object) return DISP_E_TYPEMISMATCH;
    DISPPARAMS none{};
    Variant fetched;
    HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, fetched.put(),
                                error, nullptr);
    if (FAILED(hr)) return hr;
    VariantClear(&value);
    hr = VariantCopyInd(&value, const_cast<VARIANT*>(&fetched.get()));
    if (SUCCEEDED(hr) && IsObject(value)) hr = DISP_E_TYPEMISMATCH;
    return hr;
}

std::wstring ToText(const VARIANT& value) {
    Variant text = Converted(value, VT_BSTR);
    BSTR b = text.get().bstrVal;
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

bool ToBool(const VARIANT& value) { return Converted(value, VT_BOOL).get().boolVal != VARIANT_FALSE; }

double TextToNumber(const std::wstring& text) {
    double number = 0;
    if (FAILED(VarR8FromStr(const_cast<OLECHAR*>(text.c_str()), LOCALE_USER_DEFAULT, 0, &number)))
        throw ComponentError::TypeMismatch();
    return number;
}

}  // namespace vardolin
