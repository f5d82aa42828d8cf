// The video input devices of the system (webcams), by friendly name, and the
// camera the user chose last time.
#pragma once

#include <objidl.h>
#include <strmif.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace vardolin::capture {

struct VideoDevice {
    std::wstring name;
    Microsoft::WRL::ComPtr<IMoniker> moniker;
};

// Every device of the video input category, in the system's order.
std::vector<VideoDevice> VideoInputDevices();

// The remembered camera first (when it is there), the others in their order.
std::vector<VideoDevice> InTryOrder(std::vector<VideoDevice> devices, const std::wstring& remembered);

// The filter of a device; null when it cannot be bound.
Microsoft::WRL::ComPtr<IBaseFilter> BindDevice(const VideoDevice& device, HRESULT* result = nullptr);

// HKCU\Software\Vardolin, value CameraName: the camera chosen in the source dialog.
inline constexpr const wchar_t* kCameraSettingKey = L"Software\\Vardolin";
inline constexpr const wchar_t* kCameraNameValue = L"CameraName";
std::wstring RememberedCameraName();
void RememberCameraName(const std::wstring& name);

}  // namespace vardolin::capture
