// The counts that decide whether DllCanUnloadNow may let the DLL go: its live
// COM objects and the locks of IClassFactory::LockServer. Each DLL links its
// own copy.
#pragma once

namespace vardolin {

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

}  // namespace vardolin
