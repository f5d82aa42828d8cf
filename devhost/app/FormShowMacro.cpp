#include "devhost/app/FormShowMacro.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <cwchar>

namespace vardolin::devhost::app {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

MacroOutcome Failed(HRESULT hr, const std::wstring& what) { return {hr, what + L" (" + Hex(hr) + L")"}; }

struct ExceptionInfo : EXCEPINFO {
    ExceptionInfo() : EXCEPINFO{} {}
    ~ExceptionInfo() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
};

}  // namespace

MacroOutcome RunFormShowMacro(IDispatch* application, IDispatch* workbook, IDispatch* worksheet,
                              const wchar_t* progId) noexcept {
    std::wstring name = progId;
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) return Failed(hr, name + L" is not registered. Register vardolin.dll with regsvr32 first.");
    ComPtr<IDispatch> class1;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&class1));
    if (FAILED(hr))
        return Failed(
            hr, name + L" could not be created. Is the registered vardolin.dll there, and of this program's bitness?");

    LPOLESTR method = const_cast<LPOLESTR>(L"Form_show");
    DISPID id = DISPID_UNKNOWN;
    hr = class1->GetIDsOfNames(IID_NULL, &method, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return Failed(hr, name + L" has no method Form_show.");

    // Arguments go in reverse order.
    VARIANT args[3];
    IDispatch* objects[3] = {worksheet, workbook, application};
    for (int i = 0; i < 3; ++i) {
        VariantInit(&args[i]);
        args[i].vt = VT_DISPATCH;
        args[i].pdispVal = objects[i];
    }
    DISPPARAMS params{args, nullptr, 3, 0};
    ExceptionInfo error;
    hr = class1->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &error, nullptr);
    if (hr == DISP_E_EXCEPTION && error.bstrDescription)
        return Failed(error.scode ? error.scode : hr, std::wstring(L"Form_show failed: ") + error.bstrDescription);
    if (FAILED(hr)) return Failed(hr, L"Form_show failed.");
    return {};
}

}  // namespace vardolin::devhost::app
