#include "Variant.h"

#include "ComponentError.h"

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

std::wstring ToText(const VARIANT& value) {
    Variant text;
    ThrowIfFailed(VariantChangeTypeEx(text.put(), const_cast<VARIANT*>(&value), LOCALE_USER_DEFAULT, 0, VT_BSTR));
    BSTR b = text.get().bstrVal;
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

bool ToBool(const VARIANT& value) {
    Variant flag;
    ThrowIfFailed(VariantChangeTypeEx(flag.put(), const_cast<VARIANT*>(&value), LOCALE_USER_DEFAULT, 0, VT_BOOL));
    return flag.get().boolVal != VARIANT_FALSE;
}

double TextToNumber(const std::wstring& text) {
    double number = 0;
    if (FAILED(VarR8FromStr(const_cast<OLECHAR*>(text.c_str()), LOCALE_USER_DEFAULT, 0, &number)))
        throw ComponentError::TypeMismatch();
    return number;
}

}  // namespace vardolin::capture
