// The entry points of vardolin.dll.
#include <windows.h>
#include <objbase.h>

#include "server/ClassFactory.h"
#include "capture/FormShow.h"
#include "about/frmAbout.h"
#include "win/Module.h"
#include "server/Registration.h"

using namespace vardolin;
using namespace vardolin::server;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* factory) { return GetClassFactory(clsid, riid, factory); }

// An open capture or About window keeps the DLL too, even after the macro
// released every object: their window procedures live here.
STDAPI DllCanUnloadNow() {
    bool windowsClosed = vardolin::capture::CanUnloadNow() && vardolin::about::frmAbout::LoadedCount() == 0;
    return CanUnload() && windowsClosed ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() { return RegisterServer(RegistrationScope::Machine); }

STDAPI DllUnregisterServer() { return UnregisterServer(RegistrationScope::Machine); }

// regsvr32 /n /i:user registers for the current user only (no administrator
// rights needed); /u /n /i:user removes that registration again.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    RegistrationScope scope;
    if (!commandLine || !*commandLine || _wcsicmp(commandLine, L"machine") == 0) scope = RegistrationScope::Machine;
    else if (_wcsicmp(commandLine, L"user") == 0) scope = RegistrationScope::User;
    else return E_INVALIDARG;
    return install ? RegisterServer(scope) : UnregisterServer(scope);
}

}  // extern "C"
