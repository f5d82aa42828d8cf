// Tests photograph through the demo camera, registered like any webcam:
// its switches for this process, waiting for what it delivers, and the
// picture it films.
#pragma once

#include "BitmapFile.h"

#include <chrono>
#include <functional>
#include <string>

namespace vardolin::capture::test {

// Sets the demo camera's switches (VARDOLIN_DEMOCAM) while it lives; the
// camera reads them again on every frame.
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

inline constexpr const wchar_t* kDemoCamera = L"Vardolin Demo Camera";
inline constexpr const wchar_t* kSecondDemoCamera = L"Vardolin Demo Camera 2";

// Runs this thread's messages until done() holds or the time is up; done() at the end.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));
void PumpFor(std::chrono::milliseconds duration);

// The demo scene at moment t as the 320 x 240 preview shows it.
BitmapPixels DemoScene(std::chrono::milliseconds t);

}  // namespace vardolin::capture::test
