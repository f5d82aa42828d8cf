// Helpers shared by the Windows tests of vardolin.dll.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

namespace vardolin::test {

// Folder of the running test program; vardolin.dll is built next to it.
std::wstring TestDirectory();
std::wstring DllPath();

// Runs a command line in the test folder and returns its exit code.
DWORD RunProcess(std::wstring commandLine);

// vardolin.dll loaded directly, without the registry.
class LoadedServer {
public:
    LoadedServer();
    ~LoadedServer();
    LoadedServer(const LoadedServer&) = delete;
    LoadedServer& operator=(const LoadedServer&) = delete;

    bool Loaded() const { return Module != nullptr; }
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object) const;
    HRESULT CanUnloadNow() const;
    HRESULT Install(BOOL install, const wchar_t* commandLine) const;
    // Creates an instance through the class factory.
    template <class Interface>
    HRESULT Create(REFCLSID clsid, REFIID riid, Interface** object) const {
        IClassFactory* factory = nullptr;
        HRESULT hr = GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        if (FAILED(hr)) return hr;
        hr = factory->CreateInstance(nullptr, riid, reinterpret_cast<void**>(object));
        factory->Release();
        return hr;
    }

private:
    FARPROC Proc(const char* name) const;
    HMODULE Module;
};

// A single-threaded apartment for the duration of a test.
class ComApartment {
public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace vardolin::test
