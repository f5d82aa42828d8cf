// The video input devices of the system (webcams), each known by its device
// path, and finding the camera the user chose last time (win/Settings) among them.
#pragma once

#include "win/Settings.h"

#include <objidl.h>
#include <strmif.h>
#include <wrl/client.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vardolin::capture {

struct VideoDevice {
    std::wstring name;  // the friendly name, which several cameras may share
    // Tells cameras of the same name apart: the device path, or the
    // moniker's display name for a device that has none.
    std::wstring path;
    Microsoft::WRL::ComPtr<IMoniker> moniker;
};

// Every device of the video input category, in the system's order.
std::vector<VideoDevice> VideoInputDevices();

// The names the source dialog lists, one per device in the same order: a
// name that an earlier device already has gets " (2)", " (3)"... so that
// every entry can be told apart.
std::vector<std::wstring> ChooserNames(std::span<const VideoDevice> devices);

// Index of the remembered camera in devices: the one with its path; when no
// device has that path (or none was stored), the first with its name.
std::optional<size_t> FindRemembered(std::span<const VideoDevice> devices, const CameraChoice& remembered);

// The order in which cameras are tried, as indexes into devices: the camera
// lost while it ran first (it is expected back), then the remembered one,
// then the others in the system's order; those that started but stayed
// silent go last, in the same order among themselves.
std::vector<size_t> TryOrder(std::span<const VideoDevice> devices, const CameraChoice& remembered,
                             const std::wstring& lostPath, std::span<const std::wstring> silentPaths);

// The filter of a device; null when it cannot be bound.
Microsoft::WRL::ComPtr<IBaseFilter> BindDevice(const VideoDevice& device, HRESULT* result = nullptr);

}  // namespace vardolin::capture
