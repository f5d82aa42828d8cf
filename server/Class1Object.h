// Class1: the macro's way into the capture window.
#pragma once

#include "automation/DispatchObject.h"
#include "Vardolin_h.h"

namespace vardolin::server {

class Class1Object final : public DispatchObject<_Class1, IID__Class1> {
public:
    STDMETHODIMP Form_show(IDispatch** ap, IDispatch** wb, IDispatch** sh) override;

protected:
    HRESULT InvokeMember(DISPID member, WORD flags, const DispatchArgs& args, VARIANT* result) override;
};

}  // namespace vardolin::server
