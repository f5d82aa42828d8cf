// Registration round trips through regsvr32, per user and per machine: every
// key is written, points at this DLL, and is gone again after unregistering.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/tests/RegistryKeys.h"
#include "server/tests/TestModule.h"
#include "Vardolin_h.h"

using namespace vardolin::test;

namespace {

// Every key registration writes below a classes root (the type library's
// keys included).
std::vector<std::wstring> OwnKeys() {
    return {ClsidKey(CLSID_ClsJPEG),
            ClsidKey(CLSID_Class1),
            L"Vardolin.ClsJPEG",
            L"Vardolin.Class1",
            L"TypeLib\\" + GuidString(LIBID_Vardolin),
            L"Interface\\" + GuidString(IID__ClsJPEG),
            L"Interface\\" + GuidString(IID__Class1)};
}

const wchar_t* const kUserClasses = L"Software\\Classes";

std::vector<std::wstring> KeysPresent(HKEY hive) {
    std::vector<std::wstring> present;
    for (const auto& key : OwnKeys())
        if (KeyExists(hive, std::wstring(kUserClasses) + L"\\" + key)) present.push_back(key);
    return present;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

void ExpectClassKeys(HKEY hive, REFCLSID clsid, const std::wstring& progId) {
    const std::wstring root = std::wstring(kUserClasses) + L"\\";
    const std::wstring clsidKey = root + ClsidKey(clsid);
    EXPECT_TRUE(SamePath(ReadString(hive, clsidKey + L"\\InprocServer32"), DllPath()))
        << "registered path differs for " << std::string(progId.begin(), progId.end());
    EXPECT_EQ(ReadString(hive, clsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ReadString(hive, clsidKey + L"\\ProgID"), progId);
    EXPECT_EQ(ReadString(hive, clsidKey + L"\\TypeLib"), GuidString(LIBID_Vardolin));
    EXPECT_EQ(ReadString(hive, root + progId + L"\\CLSID"), GuidString(clsid));
}

bool TypeLibRegistered() {
    BSTR path = nullptr;
    HRESULT hr = QueryPathOfRegTypeLib(LIBID_Vardolin, 1, 0, LOCALE_NEUTRAL, &path);
    SysFreeString(path);
    return SUCCEEDED(hr);
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        // Start from a clean registry even if an earlier run was interrupted.
        RunProcess(L"regsvr32 /s /u /n /i:user vardolin.dll");
        RunProcess(L"regsvr32 /s /u vardolin.dll");
        ASSERT_TRUE(KeysPresent(HKEY_CURRENT_USER).empty());
        ASSERT_TRUE(KeysPresent(HKEY_LOCAL_MACHINE).empty());
    }
    ComApartment apartment;
};

TEST_F(Registration, PerUserWritesUserKeysOnlyAndRemovesThemAll) {
    ASSERT_EQ(RunProcess(L"regsvr32 /s /n /i:user vardolin.dll"), 0u);
    ExpectClassKeys(HKEY_CURRENT_USER, CLSID_ClsJPEG, L"Vardolin.ClsJPEG");
    ExpectClassKeys(HKEY_CURRENT_USER, CLSID_Class1, L"Vardolin.Class1");
    EXPECT_TRUE(TypeLibRegistered());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::wstring(kUserClasses) + L"\\" + ClsidKey(CLSID_ClsJPEG)));

    ASSERT_EQ(RunProcess(L"regsvr32 /s /u /n /i:user vardolin.dll"), 0u);
    EXPECT_EQ(KeysPresent(HKEY_CURRENT_USER), std::vector<std::wstring>{});
    EXPECT_EQ(KeysPresent(HKEY_LOCAL_MACHINE), std::vector<std::wstring>{});
    EXPECT_FALSE(TypeLibRegistered());
}

TEST_F(Registration, PerMachineMakesClassesCreatableAndRemovesEveryKey) {
    ASSERT_EQ(RunProcess(L"regsvr32 /s vardolin.dll"), 0u);
    ExpectClassKeys(HKEY_LOCAL_MACHINE, CLSID_ClsJPEG, L"Vardolin.ClsJPEG");
    ExpectClassKeys(HKEY_LOCAL_MACHINE, CLSID_Class1, L"Vardolin.Class1");
    EXPECT_TRUE(TypeLibRegistered());
    for (const wchar_t* progId : {L"Vardolin.ClsJPEG", L"Vardolin.Class1"}) {
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        IDispatch* object = nullptr;
        ASSERT_EQ(
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object)),
            S_OK);
        object->Release();
    }

    ASSERT_EQ(RunProcess(L"regsvr32 /s /u vardolin.dll"), 0u);
    EXPECT_EQ(KeysPresent(HKEY_LOCAL_MACHINE), std::vector<std::wstring>{});
    EXPECT_EQ(KeysPresent(HKEY_CURRENT_USER), std::vector<std::wstring>{});
    EXPECT_FALSE(TypeLibRegistered());
    CLSID clsid{};
    EXPECT_NE(CLSIDFromProgID(L"Vardolin.ClsJPEG", &clsid), S_OK);
}

TEST_F(Registration, UnregisteringTwiceAndUnknownScopesAreHarmless) {
    LoadedServer server;
    ASSERT_TRUE(server.Loaded());
    EXPECT_EQ(server.Install(FALSE, L"user"), S_OK);
    EXPECT_EQ(server.Install(FALSE, nullptr), S_OK);
    EXPECT_EQ(server.Install(TRUE, L"everyone"), E_INVALIDARG);
    EXPECT_EQ(KeysPresent(HKEY_CURRENT_USER), std::vector<std::wstring>{});
    EXPECT_EQ(KeysPresent(HKEY_LOCAL_MACHINE), std::vector<std::wstring>{});
}

}  // namespace
