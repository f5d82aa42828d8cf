// A small IDispatch without type library: members are found by name (any
// case) and invoked through one virtual function. Errors raised as HostError
// reach the caller as an exception with number and description.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <span>
#include <string>
#include <vector>

namespace vardolin::devhost {

struct HostError {
    long number;
    std::wstring description;

    // What the host raises for a member used in a way it does not support.
    static HostError ObjectDefined() { return {1004, L"Application-defined or object-defined error"}; }
};

// The arguments of one call, in call order, by-reference variants resolved.
class Arguments {
public:
    explicit Arguments(const DISPPARAMS* params);
    size_t Count() const noexcept { return values_.size(); }
    // Null when the argument was not given.
    const VARIANT* Optional(size_t index) const noexcept;
    std::wstring Text(size_t index) const;
    long Long(size_t index, long fallback) const;

private:
    std::vector<const VARIANT*> values_;
};

class DispatchBase : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* argumentError) override;

protected:
    struct Member {
        const wchar_t* name;
        DISPID id;
    };
    virtual ~DispatchBase() = default;
    virtual std::span<const Member> Members() const = 0;
    // `result` is never null and starts empty.
    virtual void Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result) = 0;
    // Sees every call before it runs: a name looked up, or a member invoked.
    // A failure code refuses an invoke.
    virtual HRESULT Admit(bool /*lookupOnly*/) { return S_OK; }

private:
    std::atomic<ULONG> references_{1};
};

// Puts an object into a result variant (taking over the caller's reference).
void ReturnObject(VARIANT* result, IDispatch* object);
void ReturnText(VARIANT* result, const std::wstring& text);

}  // namespace vardolin::devhost
