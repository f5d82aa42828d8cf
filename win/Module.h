// State of the loaded DLL: its handle and the counts that decide whether
// DllCanUnloadNow may let it go.
#pragma once

#include <windows.h>

#include <string>

namespace vardolin::server {

void SetModuleHandle(HMODULE module) noexcept;
HMODULE ModuleHandle() noexcept;
// Full path of vardolin.dll itself.
std::wstring ModulePath();

// Every COM object of the DLL (class factories included) counts itself from
// construction to destruction.
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
// IClassFactory::LockServer.
void LockModule(bool lock) noexcept;
bool CanUnload() noexcept;

// Base of the DLL's COM objects: keeps the live-object count.
class CountedObject {
public:
    CountedObject() noexcept { ObjectCreated(); }
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;
    ~CountedObject() { ObjectDestroyed(); }
};

}  // namespace vardolin::server
