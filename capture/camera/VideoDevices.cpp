#include "camera/VideoDevices.h"

#include <dshow.h>
#include <oleauto.h>

#include <algorithm>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring FriendlyName(IMoniker* moniker) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) return {};
    VARIANT value;
    VariantInit(&value);
    std::wstring name;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal)
        name = value.bstrVal;
    VariantClear(&value);
    return name;
}

}  // namespace

std::vector<VideoDevice> VideoInputDevices() {
    std::vector<VideoDevice> devices;
    ComPtr<ICreateDevEnum> enumerator;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&enumerator))))
        return devices;
    ComPtr<IEnumMoniker> monikers;
    // S_FALSE (with no enumerator) means the category is empty.
    if (enumerator->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK || !monikers)
        return devices;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        devices.push_back({FriendlyName(moniker.Get()), moniker});
        moniker.Reset();
    }
    return devices;
}

std::vector<VideoDevice> InTryOrder(std::vector<VideoDevice> devices, const std::wstring& remembered) {
    if (!remembered.empty())
        std::stable_partition(devices.begin(), devices.end(),
                              [&](const VideoDevice& d) { return d.name == remembered; });
    return devices;
}

ComPtr<IBaseFilter> BindDevice(const VideoDevice& device, HRESULT* result) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = device.moniker ? device.moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter)) : E_POINTER;
    if (result) *result = hr;
    return SUCCEEDED(hr) ? filter : nullptr;
}

std::wstring RememberedCameraName() {
    wchar_t value[256] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kCameraSettingKey, kCameraNameValue, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return {};
    return value;
}

void RememberCameraName(const std::wstring& name) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kCameraNameValue, REG_SZ, name.c_str(),
                    static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
}

}  // namespace vardolin::capture
