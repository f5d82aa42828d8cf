#include "automation/LateBinding.h"

#include "win/ComponentError.h"
#include "win/Win32Handles.h"

#include <dispex.h>

namespace vardolin::late_binding {
namespace {

UniqueBstr AllocatedBstr(const std::wstring& text) {
    UniqueBstr bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!bstr) throw std::bad_alloc();
    return bstr;
}

void RequireObject(IDispatch* object) {
    if (!object) throw ComponentError::ObjectRequired();
}

}  // namespace

DISPID DispIdOf(IDispatch* object, const std::wstring& name) {
    RequireObject(object);
    DISPID id = DISPID_UNKNOWN;
    ComPtr<IDispatchEx> extended;
    if (SUCCEEDED(object->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(extended.GetAddressOf())))) {
        UniqueBstr bstr = AllocatedBstr(name);
        if (SUCCEEDED(extended->GetDispID(bstr.get(), fdexNameCaseInsensitive, &id))) return id;
    }
    LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
    ThrowIfFailed(object->GetIDsOfNames(IID_NULL, names, 1, kHostLocale, &id));
    return id;
}

Variant Invoke(IDispatch* object, DISPID member, WORD flags, const std::vector<Variant>& arguments) {
    RequireObject(object);
    // rgvarg holds the arguments last first.
    std::vector<VARIANT> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(it->get());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};

    Variant result;
    EXCEPINFO info{};
    UINT argumentError = 0;
    HRESULT hr = object->Invoke(member, IID_NULL, kHostLocale, flags, &params, result.put(), &info, &argumentError);
    ThrowIfFailed(hr, &info);
    return result;
}

Variant Get(IDispatch* object, const std::wstring& name, const std::vector<Variant>& arguments) {
    return Invoke(object, DispIdOf(object, name), DISPATCH_PROPERTYGET, arguments);
}

Variant Call(IDispatch* object, const std::wstring& name, const std::vector<Variant>& arguments) {
    return Invoke(object, DispIdOf(object, name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments);
}

ComPtr<IDispatch> ToObject(const Variant& value) {
    const VARIANT& v = value.get();
    const VARIANT* target = (v.vt == (VT_BYREF | VT_VARIANT)) ? v.pvarVal : &v;
    ComPtr<IDispatch> object;
    if (target && (target->vt == VT_DISPATCH || target->vt == VT_UNKNOWN) && target->punkVal)
        target->punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.GetAddressOf()));
    RequireObject(object.Get());
    return object;
}

ComPtr<IEnumVARIANT> Enumerator(IDispatch* collection) {
    Variant enumerator = Invoke(collection, DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    const VARIANT& e = enumerator.get();
    ComPtr<IEnumVARIANT> items;
    if ((e.vt == VT_UNKNOWN || e.vt == VT_DISPATCH) && e.punkVal)
        e.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.GetAddressOf()));
    if (!items) throw ComponentError::ObjectRequired();
    return items;
}

bool NextItem(IEnumVARIANT* items, Variant& item) {
    ULONG fetched = 0;
    HRESULT hr = items->Next(1, item.put(), &fetched);
    ThrowIfFailed(hr);
    return hr == S_OK && fetched == 1;
}

}  // namespace vardolin::late_binding
