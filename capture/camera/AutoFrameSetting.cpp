#include "capture/camera/AutoFrameSetting.h"

#include "capture/camera/VideoDevices.h"

#include <windows.h>

namespace vardolin::capture {

bool AutoFrameEnabled() {
    DWORD value = 0, bytes = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, kCameraSettingKey, kAutoFrameValue, RRF_RT_REG_DWORD, nullptr, &value,
                        &bytes) == ERROR_SUCCESS &&
           value != 0;
}

void RememberAutoFrame(bool on) {
    DWORD value = on ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kAutoFrameValue, REG_DWORD, &value, sizeof value);
}

}  // namespace vardolin::capture

namespace vardolin::capture {

int PhotoScale() {
    DWORD value = 0, bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoScaleValue, RRF_RT_REG_DWORD, nullptr, &value,
                     &bytes) != ERROR_SUCCESS ||
        value < 1 || value > kLargestPhotoScale)
        return 1;
    return static_cast<int>(value);
}

void RememberPhotoScale(int scale) {
    DWORD value = static_cast<DWORD>(scale);
    RegSetKeyValueW(HKEY_CURRENT_USER, kCameraSettingKey, kPhotoScaleValue, REG_DWORD, &value, sizeof value);
}

}  // namespace vardolin::capture
