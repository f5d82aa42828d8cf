// The exported entry points: class objects, unloading, registration.
//
//   regsvr32 vardolin-democam.dll                  registers the first camera
//   regsvr32 /n /i:second vardolin-democam.dll     registers the second camera
//   regsvr32 /u /n /i:second vardolin-democam.dll  removes the second camera
//   regsvr32 /n /i:twin vardolin-democam.dll       registers the twin (the first camera's name)
//   regsvr32 /u /n /i:twin vardolin-democam.dll    removes the twin
//   regsvr32 /u vardolin-democam.dll               removes every key of the DLL
#include "democam/CameraFilter.h"
#include "win/ComObject.h"
#include "democam/Identity.h"
#include "democam/PropertyPages.h"
#include "democam/Registration.h"

namespace vardolin::democam {
namespace {

using Creator = HRESULT (*)(REFIID iid, void** out) noexcept;

HRESULT CreateFirstCamera(REFIID iid, void** out) noexcept {
    return vardolin::CreateAndQuery<CameraFilter>(iid, out, Cameras()[0]);
}
HRESULT CreateSecondCamera(REFIID iid, void** out) noexcept {
    return vardolin::CreateAndQuery<CameraFilter>(iid, out, Cameras()[1]);
}
HRESULT CreateTwinCamera(REFIID iid, void** out) noexcept {
    return vardolin::CreateAndQuery<CameraFilter>(iid, out, Cameras()[2]);
}

struct ServedClass {
    const CLSID& clsid;
    Creator create;
};
const ServedClass kClasses[] = {
    {kCameraClsid, CreateFirstCamera},      {kSecondCameraClsid, CreateSecondCamera},
    {kTwinCameraClsid, CreateTwinCamera},   {kFormatPageClsid, CreateFormatPage},
    {kPicturePageClsid, CreatePicturePage},
};

class ClassFactory final : public vardolin::CountedComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(Creator create) noexcept : create_(create) {}

    void* Interface(REFIID iid) noexcept {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ? static_cast<IClassFactory*>(this)
                                                                                   : nullptr;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : create_(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        vardolin::LockModule(lock != FALSE);
        return S_OK;
    }

private:
    Creator create_;
};

}  // namespace
}  // namespace vardolin::democam

using namespace vardolin::democam;

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const ServedClass& served : kClasses)
        if (IsEqualCLSID(served.clsid, clsid)) return vardolin::CreateAndQuery<ClassFactory>(iid, out, served.create);
    return CLASS_E_CLASSNOTAVAILABLE;
}

// For tests: how many times a camera of this DLL was opened in this process.
extern "C" LONG STDAPICALLTYPE DemoCamStarts() { return vardolin::democam::StartsCounted(); }

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return vardolin::CanUnload() ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return RegisterCamera(Cameras()[0]); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    HRESULT result = S_OK;
    for (const CameraIdentity& camera : Cameras())
        if (HRESULT hr = UnregisterCamera(camera); FAILED(hr) && SUCCEEDED(result)) result = hr;
    return result;
}

extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
    // The command line names the camera: "second" or "twin".
    const CameraIdentity* camera = CameraByInstallName(commandLine);
    if (!camera) return E_INVALIDARG;
    return install ? RegisterCamera(*camera) : UnregisterCamera(*camera);
}
