#include "server/HostShutdown.h"

#include <objbase.h>

#include <new>

#include "win/ComObject.h"
#include "capture/ComponentState.h"
#include "win/ContinueOnError.h"
#include "capture/GetPIC.h"
#include "about/frmAbout.h"

namespace vardolin::server {
namespace {

// Closing goes as far as it can; the host is going away.
void CloseWindows() noexcept {
    RunOrSkip([] {
        // The capture window first: the About window then has no capture
        // window to put back on top.
        capture::CurrentComponentState().CaptureWindow().Unload();
        capture::CurrentComponentState().AboutWindow().Unload();
    });
}

// Told by COM about every CoInitialize and CoUninitialize of the thread it
// was registered on. It stays registered: the DLL is never unloaded under it.
class ApartmentSpy final : public ComObject<ApartmentSpy, IInitializeSpy> {
public:
    void* Interface(REFIID riid) noexcept {
        return riid == IID_IUnknown || riid == IID_IInitializeSpy ? static_cast<IInitializeSpy*>(this) : nullptr;
    }
    STDMETHODIMP PreInitialize(DWORD, DWORD) override { return S_OK; }
    STDMETHODIMP PostInitialize(HRESULT result, DWORD, DWORD) override { return result; }
    // Before the last uninitialisation, while the camera graph and everything
    // else the windows hold can still be released through COM.
    STDMETHODIMP PreUninitialize(DWORD initialisations) override {
        if (initialisations == 1) CloseWindows();
        return S_OK;
    }
    STDMETHODIMP PostUninitialize(DWORD) override { return S_OK; }
};

// Keeps the DLL mapped until the process ends. A reference given back when
// the last window closes would be unsafe: once the host's thread has
// uninitialised COM, COM has dropped its own reference, so ours would be the
// last, and releasing it from a window procedure or from the spy would unmap
// the code that is running; the spy, which COM keeps calling on this thread,
// needs the code too. The DLL is small, and a spreadsheet host keeps it
// loaded anyway once a macro has used it.
void PinModule() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinModule), &module);
}

}  // namespace

void CloseWindowsWhenHostQuits() noexcept {
    thread_local bool watching = false;
    if (watching) return;
    PinModule();
    auto* spy = new (std::nothrow) ApartmentSpy();
    if (!spy) return;
    ULARGE_INTEGER cookie{};
    watching = SUCCEEDED(CoRegisterInitializeSpy(spy, &cookie));
    spy->Release();  // COM holds it while registered
}

}  // namespace vardolin::server
