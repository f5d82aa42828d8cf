#include "server/Class1Object.h"

#include "capture/FormShow.h"
#include "server/HostShutdown.h"

using Microsoft::WRL::ComPtr;

namespace vardolin::server {
namespace {
constexpr DISPID kFormShow = 1;

IDispatch* Deref(IDispatch** object) noexcept { return object ? *object : nullptr; }
}  // namespace

STDMETHODIMP Class1Object::Form_show(IDispatch** ap, IDispatch** wb, IDispatch** sh) {
    CloseWindowsWhenHostQuits();
    capture::FormShow(Deref(ap), Deref(wb), Deref(sh));
    return S_OK;
}

HRESULT Class1Object::InvokeMember(DISPID member, WORD flags, const DispatchArgs& args, VARIANT*) {
    if (member != kFormShow || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    HRESULT hr = args.ExpectCount(3, 3);
    ComPtr<IDispatch> ap, wb, sh;
    if (SUCCEEDED(hr)) hr = args.GetDispatch(0, ap);
    if (SUCCEEDED(hr)) hr = args.GetDispatch(1, wb);
    if (SUCCEEDED(hr)) hr = args.GetDispatch(2, sh);
    if (FAILED(hr)) return hr;
    IDispatch* objects[] = {ap.Get(), wb.Get(), sh.Get()};
    return Form_show(&objects[0], &objects[1], &objects[2]);
}

}  // namespace vardolin::server
