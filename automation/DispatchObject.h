// Common base of the automation objects: reference counting (ComObject), IDispatch over
// the embedded type library (names and type information) with an Invoke that
// the derived class implements per member, and ISupportErrorInfo.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include "win/ComObject.h"
#include "automation/DispatchArgs.h"

namespace vardolin {

// Loads the type information of interface iid from the DLL's own type library.
HRESULT LoadOwnTypeInfo(REFIID iid, ITypeInfo** info) noexcept;
// Moves the thread's error info into excepInfo; Invoke then returns
// DISP_E_EXCEPTION.
void FillExcepInfo(HRESULT hr, EXCEPINFO& excepInfo) noexcept;

template <class Api, const IID& InterfaceId>
class DispatchObject : public CountedComObject<DispatchObject<Api, InterfaceId>, Api, ISupportErrorInfo> {
public:
    // The interface table.
    void* Interface(REFIID riid) noexcept {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == InterfaceId) return static_cast<Api*>(this);
        if (riid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
        return nullptr;
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        HRESULT hr = EnsureTypeInfo();
        if (SUCCEEDED(hr)) typeInfo_.CopyTo(info);
        return hr;
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        HRESULT hr = EnsureTypeInfo();
        return FAILED(hr) ? hr : typeInfo_->GetIDsOfNames(names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excepInfo, UINT* argErr) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!params) return E_INVALIDARG;
        SetErrorInfo(0, nullptr);
        HRESULT hr = InvokeMember(member, flags, DispatchArgs(*params, argErr), result);
        bool raisedByMember = FAILED(hr) && HRESULT_FACILITY(hr) != FACILITY_DISPATCH;
        if (raisedByMember && excepInfo) {
            FillExcepInfo(hr, *excepInfo);
            return DISP_E_EXCEPTION;
        }
        return hr;
    }

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override { return riid == InterfaceId ? S_OK : S_FALSE; }

protected:
    friend class ComObject<DispatchObject, Api, ISupportErrorInfo>;  // deletes it
    DispatchObject() = default;
    virtual ~DispatchObject() = default;

    // Calls member id with the caller's arguments; DISP_E_* for a call that
    // does not fit the member, the member's own HRESULT otherwise.
    virtual HRESULT InvokeMember(DISPID member, WORD flags, const DispatchArgs& args, VARIANT* result) = 0;

    static bool IsGet(WORD flags) noexcept { return flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD); }
    static bool IsPut(WORD flags) noexcept { return flags & DISPATCH_PROPERTYPUT; }

private:
    HRESULT EnsureTypeInfo() noexcept {
        return typeInfo_ ? S_OK : LoadOwnTypeInfo(InterfaceId, typeInfo_.ReleaseAndGetAddressOf());
    }

    Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_;
};

}  // namespace vardolin
