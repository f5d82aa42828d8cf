#include "server/tests/TestModule.h"

#include <vector>

namespace vardolin::test {

std::wstring TestDirectory() {
    std::vector<wchar_t> path(32768);
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring full(path.data(), length);
    return full.substr(0, full.find_last_of(L"\\/"));
}

std::wstring DllPath() { return TestDirectory() + L"\\vardolin.dll"; }

DWORD RunProcess(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring folder = TestDirectory();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

LoadedServer::LoadedServer() : Module(LoadLibraryW(DllPath().c_str())) {}

LoadedServer::~LoadedServer() {
    if (Module) FreeLibrary(Module);
}

FARPROC LoadedServer::Proc(const char* name) const { return Module ? GetProcAddress(Module, name) : nullptr; }

namespace {
// void (*)() is the one function type GCC lets us cast through without a warning.
template <class Function>
Function As(FARPROC proc) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}
}  // namespace

HRESULT LoadedServer::GetClassObject(REFCLSID clsid, REFIID riid, void** object) const {
    auto function = As<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(Proc("DllGetClassObject"));
    return function ? function(clsid, riid, object) : E_NOTIMPL;
}

HRESULT LoadedServer::CanUnloadNow() const {
    auto function = As<HRESULT(WINAPI*)()>(Proc("DllCanUnloadNow"));
    return function ? function() : E_NOTIMPL;
}

HRESULT LoadedServer::Install(BOOL install, const wchar_t* commandLine) const {
    auto function = As<HRESULT(WINAPI*)(BOOL, LPCWSTR)>(Proc("DllInstall"));
    return function ? function(install, commandLine) : E_NOTIMPL;
}

}  // namespace vardolin::test
