// The host's objects: IDispatch by name table (NameDispatch), members
// invoked through one virtual function. Errors raised as HostError
// reach the caller as an exception with number and description.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>
#include <vector>

#include "automation/NameDispatch.h"

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

class DispatchBase : public vardolin::NameDispatch {
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* argumentError) override;

protected:
    // `result` is never null and starts empty.
    virtual void Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result) = 0;
};

// Puts an object into a result variant (taking over the caller's reference).
void ReturnObject(VARIANT* result, IDispatch* object);
void ReturnText(VARIANT* result, const std::wstring& text);

}  // namespace vardolin::devhost
