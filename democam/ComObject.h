// The one IUnknown implementation of the DLL: reference counting, a
// QueryInterface that asks the derived class for the interface, the count of
// live objects that DllCanUnloadNow reads, and a guard that keeps C++
// exceptions from crossing a COM boundary.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>

namespace vardolin::democam {

// Objects (and server locks) alive in this DLL.
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
bool ModuleInUse() noexcept;
HMODULE ModuleHandle() noexcept;

// Runs body and turns any exception into an HRESULT.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// Derived implements `void* Interface(REFIID) noexcept`, returning the
// interface pointer it offers for the IID, or null.
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
    ComObject() noexcept { ModuleAddRef(); }
    ~ComObject() { ModuleRelease(); }

private:
    std::atomic<ULONG> references_{1};
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

}  // namespace vardolin::democam
