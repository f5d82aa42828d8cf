// The resources the DLLs carry: a version resource with the project's
// version, and vardolin.dll's isolation manifest, which makes a host that
// has no manifest of its own load version 6 of the common controls for it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "server/tests/TestModule.h"
#include "VardolinVersion.h"

namespace vardolin::test {
namespace {

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (info.empty() || !GetFileVersionInfoW(file.c_str(), 0, DWORD(info.size()), info.data())) return L"(none)";
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return L"(missing)";
    return value;
}

TEST(ResourceTests, EachDllCarriesTheProjectVersion) {
    const std::wstring version = VARDOLIN_VERSION_TEXT_W;
    for (const wchar_t* dll : {L"vardolin.dll", L"vardolin-democam.dll"}) {
        SCOPED_TRACE(testing::Message() << dll);
        const std::wstring file = TestDirectory() + L"\\" + dll;
        EXPECT_EQ(VersionString(file, L"FileVersion"), version);
        EXPECT_EQ(VersionString(file, L"ProductVersion"), version);
        EXPECT_EQ(VersionString(file, L"ProductName"), L"Vardolin");
        EXPECT_EQ(VersionString(file, L"OriginalFilename"), dll);
        EXPECT_NE(VersionString(file, L"FileDescription").find(L"Vardolin"), std::wstring::npos);
    }
}

// This program has no manifest and does not use the common controls itself.
TEST(ResourceTests, ServerLoadsVersion6OfTheCommonControls) {
    ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
    const HMODULE server = LoadLibraryW(DllPath().c_str());
    ASSERT_NE(server, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    CharLowerW(path);
    EXPECT_NE(std::wstring(path).find(L"\\winsxs\\"), std::wstring::npos) << path;
    EXPECT_NE(std::wstring(path).find(L"common-controls"), std::wstring::npos) << path;
    FreeLibrary(server);
}

}  // namespace
}  // namespace vardolin::test
