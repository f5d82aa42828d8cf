// IDispatch without a type library: members are found by name (any case) in
// a table the derived class gives, and invoked through its own Invoke.
// (DispatchObject is the kind backed by our type library.)
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>

#include "win/ComObject.h"

namespace vardolin {

class NameDispatch : public vardolin::ComObject<NameDispatch, IDispatch> {
public:
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    // Only the member's own name is looked up; parameter names are unknown.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        Admit(true);
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (const Member& member : Members())
            if (CompareStringOrdinal(names[0], -1, member.name, -1, TRUE) == CSTR_EQUAL) {
                ids[0] = member.id;
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        return DISP_E_UNKNOWNNAME;
    }

protected:
    friend class vardolin::ComObject<NameDispatch, IDispatch>;  // deletes it
    struct Member {
        const wchar_t* name;
        DISPID id;
    };
    virtual ~NameDispatch() = default;
    virtual std::span<const Member> Members() const = 0;
    // Sees every call before it runs: a name looked up, or a member invoked.
    // A failure code refuses an invoke.
    virtual HRESULT Admit(bool /*lookupOnly*/) { return S_OK; }
};

}  // namespace vardolin
