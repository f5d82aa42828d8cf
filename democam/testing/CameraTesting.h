// For tests that photograph through the demo camera: its names, its switches
// for this process, and the COM apartment a test thread needs for it.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

namespace vardolin::democam {

inline constexpr wchar_t kDemoCamera[] = L"Vardolin Demo Camera";
inline constexpr wchar_t kSecondDemoCamera[] = L"Vardolin Demo Camera 2";

// The DevicePath of each camera's property bag; a switch entry that starts
// with one and ':' applies to that camera alone (the twin shares the first
// camera's friendly name).
inline constexpr wchar_t kDemoCameraPath[] =
    L"\\\\?\\usb#vid_fff0&pid_0d01&mi_00#7&1a2b3c01&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
inline constexpr wchar_t kSecondDemoCameraPath[] =
    L"\\\\?\\usb#vid_fff0&pid_0d02&mi_00#7&1a2b3c02&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
inline constexpr wchar_t kTwinDemoCameraPath[] =
    L"\\\\?\\usb#vid_fff0&pid_0d01&mi_00#7&1a2b3c03&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";

// Sets the camera's switches (VARDOLIN_DEMOCAM, see Switches.h) while it
// lives; the camera reads them again on every frame. Empty: none.
class CameraSwitches {
public:
    explicit CameraSwitches(const std::wstring& value = L"") { Set(value); }
    ~CameraSwitches() { SetEnvironmentVariableW(kName, nullptr); }
    CameraSwitches(const CameraSwitches&) = delete;
    CameraSwitches& operator=(const CameraSwitches&) = delete;
    void Set(const std::wstring& value) { SetEnvironmentVariableW(kName, value.empty() ? nullptr : value.c_str()); }

private:
    static constexpr const wchar_t* kName = L"VARDOLIN_DEMOCAM";
};

// COM on this thread while it lives: an apartment as the host's user-interface
// thread has, or a multithreaded one.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) { CoInitializeEx(nullptr, model); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace vardolin::democam
