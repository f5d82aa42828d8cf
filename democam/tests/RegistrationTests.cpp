// Registration round trips through the DLL's own entry points (what
// regsvr32 calls): which cameras are registered after each step, and that
// nothing is left once both are gone.
#include "democam/tests/CaptureGraph.h"
#include "democam/testing/DemoCamDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vardolin::democam::camtest {
namespace {

// What each camera registers: class, device entry (its key in the
// category), friendly name and device path.
struct RegisteredCamera {
    const wchar_t* clsid;
    const wchar_t* instanceKey;
    const wchar_t* name;
    const wchar_t* devicePath;
};
const RegisteredCamera kFirst{L"{DD32623A-3787-4EBD-B12B-36946BE61889}", kFirstCamera, kFirstCamera, kDemoCameraPath};
const RegisteredCamera kSecond{L"{D3B4BE71-380F-4CF9-A035-CA6C9D66BE19}", kSecondCamera, kSecondCamera,
                               kSecondDemoCameraPath};
const RegisteredCamera kTwin{L"{4C6E1F52-9B0D-4A37-8E25-0B7D3F61A9C4}", L"{4C6E1F52-9B0D-4A37-8E25-0B7D3F61A9C4}",
                             kFirstCamera, kTwinDemoCameraPath};
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
// threaded, and its device entry in the video input category, listed by the
// device enumerator with its device path.
void ExpectCamera(bool registered, const RegisteredCamera& camera, const std::wstring& dllPath,
                  const std::vector<VideoInputDevice>& listed) {
    SCOPED_TRACE(std::string(camera.clsid, camera.clsid + wcslen(camera.clsid)));
    std::wstring classKey = std::wstring(L"CLSID\\") + camera.clsid;
    std::wstring instanceKey = kInstances + std::wstring(camera.instanceKey);
    EXPECT_EQ(KeyExists(classKey), registered);
    EXPECT_EQ(KeyExists(instanceKey), registered);
    EXPECT_EQ(std::count_if(listed.begin(), listed.end(), [&](auto& d) { return d.devicePath == camera.devicePath; }),
              registered ? 1 : 0);
    if (!registered) return;
    EXPECT_EQ(_wcsicmp(ReadText(classKey + L"\\InprocServer32", nullptr).c_str(), dllPath.c_str()), 0);
    EXPECT_EQ(ReadText(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Both");
    EXPECT_EQ(ReadText(instanceKey, L"CLSID"), camera.clsid);
    EXPECT_EQ(ReadText(instanceKey, L"FriendlyName"), camera.name);
    EXPECT_EQ(ReadText(instanceKey, L"DevicePath"), camera.devicePath);
}

TEST(DemoCameraRegistration, EachStepLeavesExactlyItsCamerasRegistered) {
    ComScope com;
    DemoCamDll dll;
    ASSERT_TRUE(dll.Loaded());
    struct Step {
        const char* what;
        HRESULT (*run)(DemoCamDll&);
        HRESULT result;
        bool first, second, twin;
    };
    const Step steps[] = {
        {"register", [](DemoCamDll& d) { return d.Register(); }, S_OK, true, false, false},
        {"install second", [](DemoCamDll& d) { return d.InstallSecond(true); }, S_OK, true, true, false},
        {"uninstall second", [](DemoCamDll& d) { return d.InstallSecond(false); }, S_OK, true, false, false},
        {"install second again", [](DemoCamDll& d) { return d.InstallSecond(true); }, S_OK, true, true, false},
        {"install twin", [](DemoCamDll& d) { return d.Install(true, L"twin"); }, S_OK, true, true, true},
        {"unregister: every camera", [](DemoCamDll& d) { return d.Unregister(); }, S_OK, false, false, false},
        {"second alone", [](DemoCamDll& d) { return d.InstallSecond(true); }, S_OK, false, true, false},
        {"uninstall the last one", [](DemoCamDll& d) { return d.InstallSecond(false); }, S_OK, false, false, false},
        {"twin alone", [](DemoCamDll& d) { return d.Install(true, L"TWIN"); }, S_OK, false, false, true},
        {"first beside the twin", [](DemoCamDll& d) { return d.Register(); }, S_OK, true, false, true},
        {"uninstall twin", [](DemoCamDll& d) { return d.Install(false, L"twin"); }, S_OK, true, false, false},
        {"unregister", [](DemoCamDll& d) { return d.Unregister(); }, S_OK, false, false, false},
        {"unknown command line", [](DemoCamDll& d) { return d.Install(true, L"third"); }, E_INVALIDARG, false, false,
         false},
        {"unregister with nothing there", [](DemoCamDll& d) { return d.Unregister(); }, S_OK, false, false, false},
    };
    ASSERT_HRESULT_SUCCEEDED(dll.Unregister());  // a clean start, whatever an earlier run left
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.run(dll), step.result);
        std::vector<VideoInputDevice> listed = VideoInputDevices();
        ExpectCamera(step.first, kFirst, dll.Path(), listed);
        ExpectCamera(step.second, kSecond, dll.Path(), listed);
        ExpectCamera(step.twin, kTwin, dll.Path(), listed);
        for (const wchar_t* page : kPageClsids)
            EXPECT_EQ(KeyExists(std::wstring(L"CLSID\\") + page + L"\\InprocServer32"),
                      step.first || step.second || step.twin);
        std::vector<std::wstring> names = VideoInputDeviceNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), kFirstCamera), step.first + step.twin);
        EXPECT_EQ(std::count(names.begin(), names.end(), kSecondCamera), step.second);
    }
}

}  // namespace
}  // namespace vardolin::democam::camtest
