// The class factory behind DllGetClassObject.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace vardolin::server {

// The factory of class clsid, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** factory) noexcept;

}  // namespace vardolin::server
