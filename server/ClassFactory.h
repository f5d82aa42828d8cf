// The classes this server serves, and the class factory behind DllGetClassObject.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <span>

namespace vardolin::server {

// One class: its identifier, its ProgID, and how to make its factory. Both
// the class factory and the registration read this one table.
struct ServerClass {
    const CLSID& clsid;
    const wchar_t* progId;
    HRESULT (*queryFactory)(REFIID riid, void** factory) noexcept;
};
std::span<const ServerClass> ServerClasses() noexcept;

// The factory of class clsid, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** factory) noexcept;

}  // namespace vardolin::server
