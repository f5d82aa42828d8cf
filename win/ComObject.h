// The one IUnknown of the product's COM objects: an atomic reference count, a
// QueryInterface over the interface table the derived class writes, and
// (for CountedComObject) the module's count of live objects that
// DllCanUnloadNow reads.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>
#include <utility>

#include "win/AutomationError.h"
#include "win/Module.h"

namespace vardolin {

// Derived implements `void* Interface(REFIID) noexcept`, its interface table:
// the pointer it offers for the IID, or null. It starts with one reference.
template <class Derived, class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = static_cast<Derived*>(this)->Interface(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ComObject() noexcept = default;
    ~ComObject() = default;

private:
    std::atomic<ULONG> references_{1};
};

// A ComObject that keeps its DLL loaded while it lives.
template <class Derived, class... Interfaces>
class CountedComObject : public ComObject<Derived, Interfaces...>, private CountedObject {
protected:
    CountedComObject() noexcept = default;
    ~CountedComObject() = default;
};

// Creates a Derived (constructed with one reference) and asks it for iid.
template <class Derived, class... Args>
HRESULT CreateAndQuery(REFIID iid, void** out, Args&&... args) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Guarded([&] {
        auto* object = new Derived(std::forward<Args>(args)...);
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    });
}

}  // namespace vardolin
