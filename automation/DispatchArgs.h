// The arguments of one IDispatch::Invoke call, read the way VBA and VBScript
// pass them: by value or by reference (VBScript variables arrive as
// VT_BYREF|VT_VARIANT), in any type that converts, positional or named, and
// missing optional arguments as VT_ERROR/DISP_E_PARAMNOTFOUND.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include "automation/Variant.h"
#include "win/Win32Handles.h"

namespace vardolin {

class DispatchArgs {
public:
    // The index of a property's new value (the named argument of a put).
    static constexpr DISPID PutValue = DISPID_PROPERTYPUT;

    DispatchArgs(const DISPPARAMS& params, UINT* argErr) noexcept : params_(params), argErr_(argErr) {}

    // DISP_E_BADPARAMCOUNT unless between minimum and maximum arguments came.
    HRESULT ExpectCount(unsigned minimum, unsigned maximum) const noexcept;
    // Checks that the call is a property put with just the new value.
    HRESULT ExpectPut() const noexcept;

    HRESULT GetLong(DISPID index, LONG& value) const noexcept;
    // A missing argument gives fallback.
    HRESULT GetOptionalLong(DISPID index, LONG fallback, LONG& value) const noexcept;
    HRESULT GetString(DISPID index, vardolin::UniqueBstr& value) const noexcept;
    HRESULT GetDispatch(DISPID index, Microsoft::WRL::ComPtr<IDispatch>& value) const noexcept;

private:
    // Position in rgvarg of the argument, or -1 when the caller left it out.
    int Position(DISPID index) const noexcept;
    // Copies the argument converted to type into value; S_FALSE when missing.
    HRESULT Convert(DISPID index, VARTYPE type, vardolin::Variant& value) const noexcept;

    const DISPPARAMS& params_;
    UINT* argErr_;
};

// Stores a result for the caller, who may not want one (result null).
HRESULT ReturnLong(VARIANT* result, LONG value) noexcept;
HRESULT ReturnString(VARIANT* result, BSTR value) noexcept;  // takes ownership

}  // namespace vardolin
