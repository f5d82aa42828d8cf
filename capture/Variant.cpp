#include "Variant.h"

#include "ComponentError.h"

#include <wrl/client.h>

#include <utility>

namespace vardolin::capture {

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

namespace {

bool IsObject(const VARIANT& value) noexcept { return value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN; }

// The value with references resolved and an object replaced by its default
// value, fetched once here: the system's conversion would fetch it again and
// again for an object whose default value is an object, down to a stack
// overflow when that object is itself. Such a value has no simple form.
Variant SimpleValue(const VARIANT& value) {
    Variant simple;
    ThrowIfFailed(VariantCopyInd(simple.put(), const_cast<VARIANT*>(&value)));
    if (!IsObject(simple.get())) return simple;
    Microsoft::WRL::ComPtr<IDispatch> object;
    if (IUnknown* unknown = simple.get().punkVal)
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.GetAddressOf()));
    if (!object) throw ComponentError::TypeMismatch();
    DISPPARAMS none{};
    EXCEPINFO info{};
    Variant defaultValue;
    ThrowIfFailed(object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                 defaultValue.put(), &info, nullptr),
                  &info);
    Variant resolved;
    ThrowIfFailed(VariantCopyInd(resolved.put(), const_cast<VARIANT*>(&defaultValue.get())));
    if (IsObject(resolved.get())) throw ComponentError::TypeMismatch();
    return resolved;
}

Variant Converted(const VARIANT& value, VARTYPE type) {
    Variant simple = SimpleValue(value);
    Variant converted;
    ThrowIfFailed(VariantChangeTypeEx(converted.put(), const_cast<VARIANT*>(&simple.get()), LOCALE_USER_DEFAULT, 0,
                                      type));
    return converted;
}

}  // namespace

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

}  // namespace vardolin::capture
