// Both DLLs registered side by side, as on 64-bit Windows with a 32- and a
// 64-bit host: the CLSID keys exist once per registry view, the ProgIDs and
// the type library's version key once for both. Removing one bitness, or a
// failed registration's rollback, must leave the other one usable, per
// machine and per user. Wine keeps a single HKCU\Software\Classes\CLSID for
// both bitnesses and creates no per-user class, so per user the keys are read
// back: the shared ProgIDs and the class key the other DLL wrote must stay.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "server/tests/RegistryKeys.h"
#include "server/tests/TestModule.h"
#include "Vardolin_h.h"

using namespace vardolin::test;

namespace {

constexpr bool kIs64Bit = sizeof(void*) == 8;
const std::wstring kClassesRoot = L"Software\\Classes\\";

struct ClassName {
    const CLSID& clsid;
    const wchar_t* progId;
};
const ClassName kClasses[] = {{CLSID_ClsJPEG, L"Vardolin.ClsJPEG"}, {CLSID_Class1, L"Vardolin.Class1"}};

std::wstring LibraryKey() { return kClassesRoot + L"TypeLib\\" + GuidString(LIBID_Vardolin); }

// A system program of either bitness, seen from this test program.
std::wstring SystemProgram(bool sixtyFourBit, const wchar_t* name) {
    if (sixtyFourBit == kIs64Bit) return name;
    wchar_t folder[MAX_PATH] = {};
    if (kIs64Bit) {
        GetSystemWow64DirectoryW(folder, MAX_PATH);
        return std::wstring(folder) + L"\\" + name + L".exe";
    }
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\Sysnative\\" + name + L".exe";
}

// The other build's DLL (the build folders lie side by side).
std::wstring OtherBitnessDll() {
    std::wstring path = TestDirectory() + L"\\" VARDOLIN_OTHER_BITNESS_DLL;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// One bitness: its DLL, its registry view and the programs that use it.
struct Side {
    const char* name;
    REGSAM view;
    const wchar_t* platform;  // below TypeLib\{libid}\1.0\0
    std::wstring dll;
    std::wstring regsvr32;
    std::wstring cscript;

    DWORD Regsvr32(const wchar_t* switches) const {
        return RunProcess(L"\"" + regsvr32 + L"\" /s " + switches + L" \"" + dll + L"\"");
    }
    // How many of the two classes this bitness's script host creates.
    DWORD ClassesCreated() const { return RunProcess(L"\"" + cscript + L"\" CreateBothClasses.vbs"); }
};

Side MakeSide(bool sixtyFourBit) {
    return {sixtyFourBit ? "x64" : "x86",
            static_cast<REGSAM>(sixtyFourBit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY),
            sixtyFourBit ? L"win64" : L"win32",
            sixtyFourBit == kIs64Bit ? DllPath() : OtherBitnessDll(),
            SystemProgram(sixtyFourBit, L"regsvr32"),
            SystemProgram(sixtyFourBit, L"cscript")};
}

// `kept` is registered per machine, `removed` is not; the shared keys are there.
void ExpectOnly(const Side& kept, const Side& removed) {
    const HKEY hive = HKEY_LOCAL_MACHINE;
    for (const ClassName& entry : kClasses) {
        const std::wstring clsidKey = kClassesRoot + ClsidKey(entry.clsid);
        EXPECT_TRUE(KeyExists(hive, clsidKey + L"\\InprocServer32", kept.view)) << kept.name;
        EXPECT_FALSE(KeyExists(hive, clsidKey, removed.view)) << removed.name;
        EXPECT_EQ(ReadString(hive, kClassesRoot + entry.progId + L"\\CLSID"), GuidString(entry.clsid))
            << "ProgID gone after removing " << removed.name;
    }
    EXPECT_TRUE(KeyExists(hive, LibraryKey() + L"\\1.0\\0\\" + kept.platform));
    EXPECT_FALSE(KeyExists(hive, LibraryKey() + L"\\1.0\\0\\" + removed.platform));
    EXPECT_EQ(ReadString(hive, LibraryKey() + L"\\1.0"), L"Vardolin") << "the version key is shared";
}

void ExpectNothing() {
    const HKEY hive = HKEY_LOCAL_MACHINE;
    for (const ClassName& entry : kClasses) {
        EXPECT_FALSE(KeyExists(hive, kClassesRoot + entry.progId));
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            EXPECT_FALSE(KeyExists(hive, kClassesRoot + ClsidKey(entry.clsid), view));
        }
    }
    EXPECT_FALSE(KeyExists(hive, LibraryKey()));
}

class BothBitnesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetFileAttributesW(x86_.dll.c_str()) == INVALID_FILE_ATTRIBUTES ||
            GetFileAttributesW(x64_.dll.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "the other bitness's build is missing";
        RemoveAll();
    }
    void TearDown() override { RemoveAll(); }

    void RemoveAll() {
        for (const Side* side : {&x64_, &x86_}) {
            side->Regsvr32(L"/u");
            side->Regsvr32(L"/u /n /i:user");
        }
    }

    Side x64_ = MakeSide(true);
    Side x86_ = MakeSide(false);
};

TEST_F(BothBitnesses, UnregisteringOneMachineRegistrationLeavesTheOtherCreatable) {
    for (bool removeX64 : {true, false}) {
        const Side& removed = removeX64 ? x64_ : x86_;
        const Side& kept = removeX64 ? x86_ : x64_;
        SCOPED_TRACE(std::string("removing ") + removed.name);
        ASSERT_EQ(x64_.Regsvr32(L""), 0u);
        ASSERT_EQ(x86_.Regsvr32(L""), 0u);

        ASSERT_EQ(removed.Regsvr32(L"/u"), 0u);
        ExpectOnly(kept, removed);
        EXPECT_EQ(kept.ClassesCreated(), 2u);

        ASSERT_EQ(kept.Regsvr32(L"/u"), 0u);
        ExpectNothing();
    }
}

TEST_F(BothBitnesses, UnregisteringOneUserRegistrationKeepsWhatTheOtherUses) {
    const HKEY hive = HKEY_CURRENT_USER;
    for (bool removeX64 : {true, false}) {
        const Side& removed = removeX64 ? x64_ : x86_;
        const Side& kept = removeX64 ? x86_ : x64_;
        SCOPED_TRACE(std::string("removing ") + removed.name);
        // Where both bitnesses share one class key, it names the DLL
        // registered last: the one that stays registers last.
        ASSERT_EQ(removed.Regsvr32(L"/n /i:user"), 0u);
        ASSERT_EQ(kept.Regsvr32(L"/n /i:user"), 0u);

        ASSERT_EQ(removed.Regsvr32(L"/u /n /i:user"), 0u);
        for (const ClassName& entry : kClasses) {
            EXPECT_TRUE(KeyExists(hive, kClassesRoot + ClsidKey(entry.clsid) + L"\\InprocServer32", kept.view));
            EXPECT_EQ(ReadString(hive, kClassesRoot + entry.progId + L"\\CLSID"), GuidString(entry.clsid))
                << "ProgID gone after removing " << removed.name;
        }

        ASSERT_EQ(kept.Regsvr32(L"/u /n /i:user"), 0u);
        for (const ClassName& entry : kClasses) {
            EXPECT_FALSE(KeyExists(hive, kClassesRoot + entry.progId));
            for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
                EXPECT_FALSE(KeyExists(hive, kClassesRoot + ClsidKey(entry.clsid), view));
        }
    }
}

TEST_F(BothBitnesses, FailedRegistrationRollsBackItsOwnViewOnly) {
    const Side& own = kIs64Bit ? x64_ : x86_;
    const Side& other = kIs64Bit ? x86_ : x64_;
    ASSERT_EQ(other.Regsvr32(L""), 0u);
    // A volatile class key: its InprocServer32 subkey cannot be written.
    HKEY blocker = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kClassesRoot + ClsidKey(CLSID_Class1)).c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &blocker, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(blocker);

    EXPECT_NE(own.Regsvr32(L""), 0u);
    ExpectOnly(other, own);
    EXPECT_EQ(other.ClassesCreated(), 2u);
}

}  // namespace
