// Class1.Form_show as a macro calls it, by name through IDispatch, with
// Nothing for the host's application, workbook and worksheet.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace vardolin::test {

inline HRESULT CallFormShow(IDispatch* class1) {
    LPOLESTR name = const_cast<LPOLESTR>(L"Form_show");
    DISPID id = 0;
    HRESULT hr = class1->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    VARIANT args[3];
    for (VARIANT& a : args) {
        VariantInit(&a);
        a.vt = VT_DISPATCH;
        a.pdispVal = nullptr;
    }
    DISPPARAMS params{args, nullptr, 3, 0};
    return class1->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

}  // namespace vardolin::test
