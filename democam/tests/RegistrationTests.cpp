// Registration round trips through the DLL's own entry points (what
// regsvr32 calls): which cameras are registered after each step, and that
// nothing is left once both are gone.
#include "CaptureGraph.h"
#include "DemoCamDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vardolin::democam::camtest {
namespace {

constexpr wchar_t kFirstClsid[] = L"{DD32623A-3787-4EBD-B12B-36946BE61889}";
constexpr wchar_t kSecondClsid[] = L"{D3B4BE71-380F-4CF9-A035-CA6C9D66BE19}";
constexpr const wchar_t* kPageClsids[] = {L"{7510FF3C-31BF-43F3-984F-E5988FCFFE33}",
                                          L"{51E000D1-5E9A-4BC5-A6F8-712425C65CBD}"};
constexpr wchar_t kInstances[] = L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance\\";

std::wstring ReadText(const std::wstring& key, const wchar_t* value) {
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

bool KeyExists(const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// What a registered camera must have: its class served by this DLL, free
// threaded, and its device entry in the video input category.
void ExpectCamera(bool registered, const wchar_t* clsid, const wchar_t* name, const std::wstring& dllPath) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    std::wstring classKey = std::wstring(L"CLSID\\") + clsid;
    EXPECT_EQ(KeyExists(classKey), registered);
    EXPECT_EQ(KeyExists(kInstances + std::wstring(name)), registered);
    if (!registered) return;
    EXPECT_EQ(_wcsicmp(ReadText(classKey + L"\\InprocServer32", nullptr).c_str(), dllPath.c_str()), 0);
    EXPECT_EQ(ReadText(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Both");
    EXPECT_EQ(ReadText(kInstances + std::wstring(name), L"CLSID"), clsid);
    EXPECT_EQ(ReadText(kInstances + std::wstring(name), L"FriendlyName"), name);
}

TEST(DemoCameraRegistration, EachStepLeavesExactlyItsCamerasRegistered) {
    ComScope com;
    DemoCamDll dll;
    ASSERT_TRUE(dll.Loaded());
    struct Step {
        const char* what;
        HRESULT (*run)(DemoCamDll&);
        HRESULT result;
        bool first, second;
    };
    const Step steps[] = {
        {"register", [](DemoCamDll& d) { return d.Register(); }, S_OK, true, false},
        {"install second", [](DemoCamDll& d) { return d.InstallSecond(true); }, S_OK, true, true},
        {"uninstall second", [](DemoCamDll& d) { return d.InstallSecond(false); }, S_OK, true, false},
        {"install second again", [](DemoCamDll& d) { return d.InstallSecond(true); }, S_OK, true, true},
        {"unregister: every camera", [](DemoCamDll& d) { return d.Unregister(); }, S_OK, false, false},
        {"second alone", [](DemoCamDll& d) { return d.InstallSecond(true); }, S_OK, false, true},
        {"uninstall the last one", [](DemoCamDll& d) { return d.InstallSecond(false); }, S_OK, false, false},
        {"unknown command line", [](DemoCamDll& d) { return d.Install(true, L"third"); }, E_INVALIDARG, false, false},
        {"unregister with nothing there", [](DemoCamDll& d) { return d.Unregister(); }, S_OK, false, false},
    };
    ASSERT_HRESULT_SUCCEEDED(dll.Unregister());  // a clean start, whatever an earlier run left
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.run(dll), step.result);
        ExpectCamera(step.first, kFirstClsid, kFirstCamera, dll.Path());
        ExpectCamera(step.second, kSecondClsid, kSecondCamera, dll.Path());
        for (const wchar_t* page : kPageClsids)
            EXPECT_EQ(KeyExists(std::wstring(L"CLSID\\") + page + L"\\InprocServer32"), step.first || step.second);

        std::vector<std::wstring> names = VideoInputDeviceNames();
        auto listed = [&](const wchar_t* name) { return std::find(names.begin(), names.end(), name) != names.end(); };
        EXPECT_EQ(listed(kFirstCamera), step.first);
        EXPECT_EQ(listed(kSecondCamera), step.second);
    }
}

}  // namespace
}  // namespace vardolin::democam::camtest
