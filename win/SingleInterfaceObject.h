// IUnknown for a COM object of the DLL that offers one interface: reference
// counting and a QueryInterface that knows IUnknown and that interface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace vardolin::server {

template <class Derived, class Interface, const IID& InterfaceId>
class SingleInterfaceObject : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid != IID_IUnknown && riid != InterfaceId) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG remaining = --references_;
        if (remaining == 0) delete static_cast<Derived*>(this);
        return remaining;
    }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace vardolin::server
