#include "capture/camera/VideoDevices.h"

#include "win/Win32Handles.h"

#include <dshow.h>
#include <oleauto.h>

#include <algorithm>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring ReadProperty(IPropertyBag* bag, const wchar_t* property) {
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(bag->Read(property, &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal) text = value.bstrVal;
    VariantClear(&value);
    return text;
}

std::wstring DisplayName(IMoniker* moniker) {
    LPOLESTR name = nullptr;
    HRESULT hr = moniker->GetDisplayName(nullptr, nullptr, &name);
    UniqueCoTaskMem<wchar_t> held(name);
    if (FAILED(hr) || !held) return {};
    return held.get();
}

VideoDevice DescribeDevice(ComPtr<IMoniker> moniker) {
    VideoDevice device{{}, {}, moniker};
    ComPtr<IPropertyBag> bag;
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) {
        device.name = ReadProperty(bag.Get(), L"FriendlyName");
        device.path = ReadProperty(bag.Get(), L"DevicePath");
    }
    // Software cameras have no device path; their display name names their
    // filter, which tells them apart just as well.
    if (device.path.empty()) device.path = DisplayName(moniker.Get());
    return device;
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
        devices.push_back(DescribeDevice(moniker));
        moniker.Reset();
    }
    return devices;
}

std::vector<std::wstring> ChooserNames(std::span<const VideoDevice> devices) {
    std::vector<std::wstring> names;
    auto taken = [&](const std::wstring& name) {
        return std::find(names.begin(), names.end(), name) != names.end() ||
               std::any_of(devices.begin(), devices.end(), [&](const VideoDevice& d) { return d.name == name; });
    };
    for (const VideoDevice& device : devices) {
        std::wstring name = device.name;
        // A camera really named like a numbered duplicate ("USB Camera (2)")
        // pushes the number further, so no two entries read the same.
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            int number = 2;
            do name = device.name + L" (" + std::to_wstring(number++) + L")";
            while (taken(name));
        }
        names.push_back(std::move(name));
    }
    return names;
}

std::optional<size_t> FindRemembered(std::span<const VideoDevice> devices, const CameraChoice& remembered) {
    auto index = [&](auto matches) -> std::optional<size_t> {
        auto found = std::find_if(devices.begin(), devices.end(), matches);
        if (found == devices.end()) return std::nullopt;
        return static_cast<size_t>(found - devices.begin());
    };
    if (!remembered.path.empty())
        if (auto byPath = index([&](const VideoDevice& d) { return d.path == remembered.path; })) return byPath;
    if (remembered.name.empty()) return std::nullopt;
    return index([&](const VideoDevice& d) { return d.name == remembered.name; });
}

std::vector<size_t> TryOrder(std::span<const VideoDevice> devices, const CameraChoice& remembered,
                             const std::wstring& lostPath, std::span<const std::wstring> silentPaths) {
    std::optional<size_t> rememberedAt = FindRemembered(devices, remembered);
    auto rank = [&](size_t i) {
        const std::wstring& path = devices[i].path;
        if (std::ranges::find(silentPaths, path) != silentPaths.end()) return 3;
        if (!lostPath.empty() && path == lostPath) return 0;
        return rememberedAt == i ? 1 : 2;
    };
    std::vector<size_t> order(devices.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::ranges::stable_sort(order, {}, rank);
    return order;
}

ComPtr<IBaseFilter> BindDevice(const VideoDevice& device, HRESULT* result) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = device.moniker ? device.moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter)) : E_POINTER;
    if (result) *result = hr;
    return SUCCEEDED(hr) ? filter : nullptr;
}

}  // namespace vardolin::capture
