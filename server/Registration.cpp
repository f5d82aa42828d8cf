#include "server/Registration.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "server/ClassFactory.h"
#include "win/AutomationError.h"
#include "win/ModuleInstance.h"
#include "win/Win32Handles.h"
#include "Vardolin_h.h"

// Exported by oleaut32 but missing from the mingw-w64 headers.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID lcid, SYSKIND syskind);

using Microsoft::WRL::ComPtr;

namespace vardolin::server {
namespace {

// On 64-bit Windows the CLSID and Interface keys below Software\Classes (of
// HKLM and of HKCU) exist once per bitness: each registry view has its own.
// Every other key there, a ProgID or the type library's, is one key that both
// views share, so it stays while the other bitness still needs it.
enum class View { Own, Shared };

constexpr bool kIs64Bit = sizeof(void*) == 8;
// The other bitness's view. 32-bit Windows has one view only and ignores the
// flag: the question then goes to this process's own view.
constexpr REGSAM kOtherView = kIs64Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

enum class Content { ProgId, ClassId, LibraryId, ModulePath, Apartment, Version };

// One value of a class's registration: below CLSID\{clsid} (this view's) or
// below the ProgID (shared); an empty subKey is that key itself, a null name
// its default value.
struct ClassValue {
    View view;
    const wchar_t* subKey;
    const wchar_t* name;
    Content content;
};
const ClassValue kClassValues[] = {
    {View::Own, L"", nullptr, Content::ProgId},
    {View::Own, L"\\InprocServer32", nullptr, Content::ModulePath},
    {View::Own, L"\\InprocServer32", L"ThreadingModel", Content::Apartment},
    {View::Own, L"\\ProgID", nullptr, Content::ProgId},
    {View::Own, L"\\TypeLib", nullptr, Content::LibraryId},
    {View::Own, L"\\Version", nullptr, Content::Version},
    {View::Shared, L"", nullptr, Content::ProgId},
    {View::Shared, L"\\CLSID", nullptr, Content::ClassId},
};

constexpr WORD kLibraryMajor = 1;
constexpr WORD kLibraryMinor = 0;
constexpr SYSKIND kSysKind = kIs64Bit ? SYS_WIN64 : SYS_WIN32;
// Below TypeLib\{libid}\1.0\0 (shared): the path of each bitness's library.
constexpr const wchar_t* kOwnPlatform = kIs64Bit ? L"win64" : L"win32";
constexpr const wchar_t* kOtherPlatform = kIs64Bit ? L"win32" : L"win64";
// The interfaces whose Interface\{iid} keys registering the library writes,
// with their names in the library.
struct InterfaceEntry {
    const IID& iid;
    const wchar_t* name;
};
const InterfaceEntry kInterfaces[] = {{IID__ClsJPEG, L"_ClsJPEG"}, {IID__Class1, L"_Class1"}};
// The library's help string, which names its version key.
constexpr const wchar_t* kLibraryName = L"Vardolin";
// The marshaler of dual interfaces described by a registered type library.
constexpr const wchar_t* kTypeLibraryMarshaler = L"{00020424-0000-0000-C000-000000000046}";

std::wstring GuidString(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring ClassKey(const ServerClass& entry, View view) {
    return view == View::Own ? L"CLSID\\" + GuidString(entry.clsid) : entry.progId;
}

std::wstring ValueText(Content content, const ServerClass& entry, const std::wstring& modulePath) {
    switch (content) {
    case Content::ProgId: return entry.progId;
    case Content::ClassId: return GuidString(entry.clsid);
    case Content::LibraryId: return GuidString(LIBID_Vardolin);
    case Content::ModulePath: return modulePath;
    case Content::Apartment: return L"Apartment";
    case Content::Version: return L"1.0";
    }
    return {};
}

std::wstring LibraryPlatformKey(const wchar_t* platform) {
    return L"TypeLib\\" + GuidString(LIBID_Vardolin) + L"\\1.0\\0\\" + platform;
}

HKEY Hive(RegistrationScope scope) noexcept {
    return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HRESULT OpenClassesRoot(RegistrationScope scope, vardolin::UniqueKey& root) noexcept {
    HKEY key = nullptr;
    LONG status =
        RegCreateKeyExW(Hive(scope), L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    root.reset(key);
    return HRESULT_FROM_WIN32(status);
}

bool KeyExists(HKEY parent, const std::wstring& subKey, REGSAM view = 0) noexcept {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
    vardolin::UniqueKey opened(key);  // only asked whether it opens
    return true;
}

// Reads a string value; empty when it cannot be read.
std::wstring ReadString(HKEY root, const std::wstring& subKey, const wchar_t* name = nullptr) {
    DWORD bytes = 0;
    if (RegGetValueW(root, subKey.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return {};
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, subKey.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
        return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

// Whether two paths name the same existing file, whatever their spelling.
bool SameFile(const std::wstring& first, const std::wstring& second) noexcept {
    BY_HANDLE_FILE_INFORMATION info[2]{};
    const std::wstring* paths[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        vardolin::UniqueFile file = vardolin::AdoptFile(
            CreateFileW(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file || !GetFileInformationByHandle(file.get(), &info[i])) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// Whether this DLL may remove the class key of its own view: it names this
// DLL as its server, or a file that is gone, or no file at all. Where the
// registry keeps one class key for both bitnesses (per user it may), the key
// can name the other bitness's DLL, registered after this one; that
// registration stays.
bool OwnClassKeyIsThisModule(HKEY root, const ServerClass& entry, const std::wstring& modulePath) {
    std::wstring server = ReadString(root, ClassKey(entry, View::Own) + L"\\InprocServer32");
    if (server.empty() || GetFileAttributesW(server.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    return SameFile(server, modulePath) ||
           CompareStringOrdinal(server.c_str(), -1, modulePath.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Whether the other bitness's registry view of this scope registers the class.
bool OtherViewRegisters(RegistrationScope scope, const ServerClass& entry) {
    return KeyExists(Hive(scope), L"Software\\Classes\\" + ClassKey(entry, View::Own) + L"\\InprocServer32",
                     kOtherView);
}

HRESULT SetString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value) noexcept {
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return HRESULT_FROM_WIN32(RegSetKeyValueW(root, subKey.c_str(), name, REG_SZ, value.c_str(), bytes));
}

HRESULT DeleteTree(HKEY root, const std::wstring& subKey) noexcept {
    LONG status = RegDeleteTreeW(root, subKey.c_str());
    return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

// Keeps the first failure of a sequence that goes on after failures.
void KeepFirstFailure(HRESULT& first, HRESULT next) noexcept {
    if (SUCCEEDED(first)) first = next;
}

HRESULT WriteClass(HKEY root, const ServerClass& entry, const std::wstring& modulePath) {
    HRESULT hr = S_OK;
    for (const ClassValue& value : kClassValues)
        if (SUCCEEDED(hr))
            hr = SetString(root, ClassKey(entry, value.view) + value.subKey, value.name,
                           ValueText(value.content, entry, modulePath));
    return hr;
}

HRESULT RegisterTypeLibrary(RegistrationScope scope, std::wstring& modulePath) noexcept {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    return scope == RegistrationScope::Machine ? RegisterTypeLib(library.Get(), modulePath.data(), nullptr)
                                               : RegisterTypeLibForUser(library.Get(), modulePath.data(), nullptr);
}

bool TypeLibraryRegistered() noexcept {
    BSTR path = nullptr;
    HRESULT hr = QueryPathOfRegTypeLib(LIBID_Vardolin, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL, &path);
    UniqueBstr held(path);
    return SUCCEEDED(hr);
}

// The other bitness still registers the library: only this bitness's path
// and this view's interface keys go; the version key with its FLAGS and
// HELPDIR is shared and stays.
HRESULT RemoveOwnPlatform(HKEY root) {
    HRESULT first = DeleteTree(root, LibraryPlatformKey(kOwnPlatform));
    for (const InterfaceEntry& entry : kInterfaces)
        KeepFirstFailure(first, DeleteTree(root, L"Interface\\" + GuidString(entry.iid)));
    return first;
}

HRESULT UnregisterTypeLibrary(RegistrationScope scope, HKEY root) {
    if (KeyExists(root, LibraryPlatformKey(kOtherPlatform))) return RemoveOwnPlatform(root);
    // Nothing to remove; the unregister calls would report that as a failure.
    if (!TypeLibraryRegistered()) return S_OK;
    HRESULT hr = scope == RegistrationScope::Machine
                     ? UnRegisterTypeLib(LIBID_Vardolin, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL, kSysKind)
                     : UnRegisterTypeLibForUser(LIBID_Vardolin, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL, kSysKind);
    // Registered in the other scope only: nothing of this scope to remove.
    return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
}

HRESULT WriteAll(RegistrationScope scope) {
    vardolin::UniqueKey root;
    HRESULT hr = OpenClassesRoot(scope, root);
    std::wstring modulePath = vardolin::ModulePath();
    if (SUCCEEDED(hr) && modulePath.empty()) hr = E_UNEXPECTED;
    for (const ServerClass& entry : ServerClasses())
        if (SUCCEEDED(hr)) hr = WriteClass(root.get(), entry, modulePath);
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary(scope, modulePath);
    return hr;
}

HRESULT RemoveAll(RegistrationScope scope) {
    vardolin::UniqueKey root;
    HRESULT hr = OpenClassesRoot(scope, root);
    if (FAILED(hr)) return hr;
    // Go on after a failure so that as much as possible is removed. This
    // view's keys go first: a shared key then stays only for a class that the
    // other view still registers.
    HRESULT first = UnregisterTypeLibrary(scope, root.get());
    const std::wstring modulePath = vardolin::ModulePath();
    for (const ServerClass& entry : ServerClasses())
        if (OwnClassKeyIsThisModule(root.get(), entry, modulePath))
            KeepFirstFailure(first, DeleteTree(root.get(), ClassKey(entry, View::Own)));
    for (const ServerClass& entry : ServerClasses())
        if (!OtherViewRegisters(scope, entry))
            KeepFirstFailure(first, DeleteTree(root.get(), ClassKey(entry, View::Shared)));
    return first;
}

}  // namespace

std::vector<RegistryRow> RegistryRows(const std::wstring& modulePath, const std::wstring& folder) {
    std::vector<RegistryRow> rows;
    for (const ServerClass& entry : ServerClasses())
        for (const ClassValue& value : kClassValues)
            rows.push_back({ClassKey(entry, value.view) + value.subKey, value.name ? value.name : L"",
                            ValueText(value.content, entry, modulePath)});
    const std::wstring library = GuidString(LIBID_Vardolin);
    const std::wstring version = L"TypeLib\\" + library + L"\\1.0";
    rows.push_back({version, L"", kLibraryName});
    rows.push_back({version + L"\\FLAGS", L"", L"0"});
    rows.push_back({version + L"\\HELPDIR", L"", folder});
    rows.push_back({LibraryPlatformKey(kOwnPlatform), L"", modulePath});
    for (const InterfaceEntry& entry : kInterfaces) {
        const std::wstring key = L"Interface\\" + GuidString(entry.iid);
        rows.push_back({key, L"", entry.name});
        rows.push_back({key + L"\\ProxyStubClsid", L"", kTypeLibraryMarshaler});
        rows.push_back({key + L"\\ProxyStubClsid32", L"", kTypeLibraryMarshaler});
        rows.push_back({key + L"\\TypeLib", L"", library});
        rows.push_back({key + L"\\TypeLib", L"Version", L"1.0"});
    }
    return rows;
}

// A registration that fails half-way takes away what it wrote.
HRESULT RegisterServer(RegistrationScope scope) noexcept {
    HRESULT hr = Guarded([&] { return WriteAll(scope); });
    if (FAILED(hr)) UnregisterServer(scope);
    return hr;
}

HRESULT UnregisterServer(RegistrationScope scope) noexcept {
    return Guarded([&] { return RemoveAll(scope); });
}

}  // namespace vardolin::server
