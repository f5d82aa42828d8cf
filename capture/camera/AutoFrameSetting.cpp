#include "camera/AutoFrameSetting.h"

#include "camera/VideoDevices.h"

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
