#include "Registration.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "ComHandles.h"
#include "Module.h"
#include "Vardolin_h.h"

// Exported by oleaut32 but missing from the mingw-w64 headers.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID lcid, SYSKIND syskind);

using Microsoft::WRL::ComPtr;

namespace vardolin::server {
namespace {

struct ClassEntry {
    const CLSID& clsid;
    const wchar_t* progId;
};
const ClassEntry kClasses[] = {
    {CLSID_ClsJPEG, L"Vardolin.ClsJPEG"},
    {CLSID_Class1, L"Vardolin.Class1"},
};
constexpr WORD kLibraryMajor = 1;
constexpr WORD kLibraryMinor = 0;
constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

std::wstring GuidString(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

HRESULT OpenClassesRoot(RegistrationScope scope, UniqueHKey& root) noexcept {
    HKEY hive = scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                  &key, nullptr);
    root.reset(key);
    return HRESULT_FROM_WIN32(status);
}

HRESULT SetString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value) noexcept {
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return HRESULT_FROM_WIN32(RegSetKeyValueW(root, subKey.c_str(), name, REG_SZ, value.c_str(), bytes));
}

HRESULT DeleteTree(HKEY root, const std::wstring& subKey) noexcept {
    LONG status = RegDeleteTreeW(root, subKey.c_str());
    return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT WriteClass(HKEY root, const ClassEntry& entry, const std::wstring& modulePath) {
    const std::wstring clsidKey = L"CLSID\\" + GuidString(entry.clsid);
    const std::pair<std::wstring, std::wstring> defaults[] = {
        {clsidKey, entry.progId},
        {clsidKey + L"\\InprocServer32", modulePath},
        {clsidKey + L"\\ProgID", entry.progId},
        {clsidKey + L"\\TypeLib", GuidString(LIBID_Vardolin)},
        {clsidKey + L"\\Version", L"1.0"},
        {entry.progId, entry.progId},
        {std::wstring(entry.progId) + L"\\CLSID", GuidString(entry.clsid)},
    };
    HRESULT hr = S_OK;
    for (const auto& [key, value] : defaults)
        if (SUCCEEDED(hr)) hr = SetString(root, key, nullptr, value);
    if (SUCCEEDED(hr)) hr = SetString(root, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return hr;
}

HRESULT RegisterTypeLibrary(RegistrationScope scope, std::wstring& modulePath) noexcept {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    return scope == RegistrationScope::Machine
               ? RegisterTypeLib(library.Get(), modulePath.data(), nullptr)
               : RegisterTypeLibForUser(library.Get(), modulePath.data(), nullptr);
}

bool TypeLibraryRegistered() noexcept {
    BSTR path = nullptr;
    HRESULT hr = QueryPathOfRegTypeLib(LIBID_Vardolin, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL, &path);
    SysFreeString(path);
    return SUCCEEDED(hr);
}

HRESULT UnregisterTypeLibrary(RegistrationScope scope) noexcept {
    // Nothing to remove; the unregister calls would report that as a failure.
    if (!TypeLibraryRegistered()) return S_OK;
    HRESULT hr = scope == RegistrationScope::Machine
                     ? UnRegisterTypeLib(LIBID_Vardolin, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL, kSysKind)
                     : UnRegisterTypeLibForUser(LIBID_Vardolin, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL,
                                                kSysKind);
    // Registered in the other scope only: nothing of this scope to remove.
    return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
}

HRESULT WriteAll(RegistrationScope scope) {
    UniqueHKey root;
    HRESULT hr = OpenClassesRoot(scope, root);
    std::wstring modulePath = ModulePath();
    if (SUCCEEDED(hr) && modulePath.empty()) hr = E_UNEXPECTED;
    for (const ClassEntry& entry : kClasses)
        if (SUCCEEDED(hr)) hr = WriteClass(root.get(), entry, modulePath);
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary(scope, modulePath);
    return hr;
}

HRESULT RemoveAll(RegistrationScope scope) {
    UniqueHKey root;
    HRESULT hr = OpenClassesRoot(scope, root);
    if (FAILED(hr)) return hr;
    HRESULT first = UnregisterTypeLibrary(scope);
    // Go on after a failure so that as much as possible is removed.
    for (const ClassEntry& entry : kClasses) {
        HRESULT clsidResult = DeleteTree(root.get(), L"CLSID\\" + GuidString(entry.clsid));
        HRESULT progIdResult = DeleteTree(root.get(), entry.progId);
        if (SUCCEEDED(first)) first = FAILED(clsidResult) ? clsidResult : progIdResult;
    }
    return first;
}

}  // namespace

HRESULT RegisterServer(RegistrationScope scope) noexcept {
    try {
        HRESULT hr = WriteAll(scope);
        if (FAILED(hr)) RemoveAll(scope);
        return hr;
    } catch (...) {
        UnregisterServer(scope);
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer(RegistrationScope scope) noexcept {
    try {
        return RemoveAll(scope);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace vardolin::server
