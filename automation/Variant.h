// An owned VARIANT (cleared on every path), and the conversions the component makes the way the
// automation runtime makes them.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace vardolin {

class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    explicit Variant(const std::wstring& text);
    explicit Variant(long number) noexcept;
    // Holds a reference to the object (Nothing for null).
    explicit Variant(IDispatch* object) noexcept;
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    ~Variant() { VariantClear(&value_); }

    static Variant Missing() noexcept;
    static Variant Boolean(bool value) noexcept;  // VARIANT_TRUE or VARIANT_FALSE

    const VARIANT& get() const noexcept { return value_; }
    VARIANT& get() noexcept { return value_; }  // for conversions in place
    VARIANT* put() noexcept {                   // clears first: for out-parameters
        VariantClear(&value_);
        return &value_;
    }
    VARTYPE type() const noexcept { return value_.vt; }
    // Hands the value over to the caller, who then clears it.
    VARIANT release() noexcept {
        VARIANT value = value_;
        VariantInit(&value_);
        return value;
    }

private:
    VARIANT value_;
};

// Replaces an object held in `value` by its default value, fetched once. The
// system's own conversion would fetch again and again for an object whose
// default value is an object, down to a stack overflow when that object is
// itself: such a value, or an object without IDispatch, is DISP_E_TYPEMISMATCH.
// A failing fetch gives its HRESULT, with the object's error in `error` if given.
HRESULT ReplaceObjectByDefaultValue(VARIANT& value, EXCEPINFO* error) noexcept;

// The value as text, as the runtime converts it (a number 1001 gives "1001");
// raises an error when the value has no text form.
std::wstring ToText(const VARIANT& value);

// The value as a boolean; raises an error when it has none.
bool ToBool(const VARIANT& value);

// Text read as a number, as the runtime reads it in a comparison with a number;
// empty or non-numeric text raises a type mismatch.
double TextToNumber(const std::wstring& text);

}  // namespace vardolin
