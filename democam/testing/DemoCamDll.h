// For tests: the demo camera DLL loaded into the test process, and its
// registration entry points (what regsvr32 calls). Tests that use them
// change which cameras the machine has, so they hold the camera registry
// lock (vardolin_add_wine_gtest(... CAMERA_REGISTRY)).
#pragma once

#include <windows.h>

#include <string>

namespace vardolin::democam {

class DemoCamDll {
public:
    // Looks for the DLL in the test's working directory (the build's bin).
    DemoCamDll() noexcept : module_(LoadLibraryW(L"vardolin-democam.dll")) {}
    ~DemoCamDll() {
        if (module_) FreeLibrary(module_);
    }
    DemoCamDll(const DemoCamDll&) = delete;
    DemoCamDll& operator=(const DemoCamDll&) = delete;

    bool Loaded() const noexcept { return module_ != nullptr; }

    // regsvr32 vardolin-democam.dll: the first camera.
    HRESULT Register() const { return Call<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer"); }
    // regsvr32 /u vardolin-democam.dll: every camera.
    HRESULT Unregister() const { return Call<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer"); }
    // regsvr32 [/u] /n /i:second vardolin-democam.dll: the second camera.
    HRESULT InstallSecond(bool install) const { return Install(install, L"second"); }
    HRESULT Install(bool install, const wchar_t* commandLine) const {
        return Call<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall", install ? TRUE : FALSE, commandLine);
    }
    HRESULT CanUnloadNow() const { return Call<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow"); }
    // How many times a camera was opened (a start from stopped that succeeded) in this process.
    long Starts() const { return Call<LONG(STDAPICALLTYPE*)()>("DemoCamStarts"); }

    std::wstring Path() const {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(module_, path, MAX_PATH);
        return path;
    }

private:
    template <class Function, class... Args>
    HRESULT Call(const char* name, Args... args) const {
        auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
        return function ? function(args...) : E_NOTIMPL;
    }

    HMODULE module_;
};

// A camera that DllInstall registers (regsvr32 /n /i:NAME), registered while
// it lives and removed again after.
class InstalledCamera {
public:
    explicit InstalledCamera(const wchar_t* installName)
        : installName_(installName), registered_(SUCCEEDED(dll_.Install(true, installName))) {}
    ~InstalledCamera() {
        if (registered_) dll_.Install(false, installName_);
    }
    InstalledCamera(const InstalledCamera&) = delete;
    InstalledCamera& operator=(const InstalledCamera&) = delete;
    bool Registered() const noexcept { return registered_; }

private:
    DemoCamDll dll_;
    const wchar_t* installName_;
    bool registered_;
};

// The second camera ("Vardolin Demo Camera 2") registered while it lives.
class SecondCamera : public InstalledCamera {
public:
    SecondCamera() : InstalledCamera(L"second") {}
};

// The twin registered while it lives: the first camera's friendly name
// ("Vardolin Demo Camera"), its own device path (kTwinDemoCameraPath) and
// moniker, its picture inverted (InvertPicture in DemoScene.h). The device
// enumerator lists it after the first camera.
class TwinCamera : public InstalledCamera {
public:
    TwinCamera() : InstalledCamera(L"twin") {}
};

// No demo camera registered while it lives; then the first camera again, as
// the camera fixture left it. Other camera tests must not run meanwhile:
// add PROPERTIES RUN_SERIAL TRUE as well as CAMERA_REGISTRY.
class NoCameras {
public:
    NoCameras() : removed_(SUCCEEDED(dll_.Unregister())) {}
    ~NoCameras() {
        if (removed_) dll_.Register();
    }
    NoCameras(const NoCameras&) = delete;
    NoCameras& operator=(const NoCameras&) = delete;
    bool Removed() const noexcept { return removed_; }

private:
    DemoCamDll dll_;
    bool removed_;
};

}  // namespace vardolin::democam
