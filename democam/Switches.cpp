// Reads the test switches from the environment; Switches.h describes them.
#include "Switches.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace vardolin::democam {
namespace {

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> parts;
    while (!text.empty()) {
        size_t end = text.find(separator);
        std::wstring_view part = text.substr(0, end);
        if (!part.empty()) parts.push_back(part);
        if (end == std::wstring_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return parts;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
               CSTR_EQUAL;
}

std::optional<PixelFormat> PixelFormatNamed(std::wstring_view name) {
    if (SameText(name, L"rgb24")) return PixelFormat::Rgb24;
    if (SameText(name, L"yuy2")) return PixelFormat::Yuy2;
    if (SameText(name, L"nv12")) return PixelFormat::Nv12;
    return std::nullopt;
}

void ApplyFormats(std::wstring_view list, Switches& switches) {
    std::vector<PixelFormat> formats;
    for (std::wstring_view name : Split(list, L','))
        if (auto format = PixelFormatNamed(name)) formats.push_back(*format);
    if (!formats.empty()) switches.formats = formats;
}

void ApplyTime(std::wstring_view value, Switches& switches) {
    std::wstring digits(value);
    wchar_t* end = nullptr;
    long long ms = std::wcstoll(digits.c_str(), &end, 10);
    if (!digits.empty() && end && *end == L'\0' && ms >= 0) switches.frozenTime = std::chrono::milliseconds(ms);
}

void ApplyScene(std::wstring_view name, Switches& switches) {
    if (SameText(name, L"portrait")) switches.scene = Scene::Portrait;
    else if (SameText(name, L"photo")) switches.scene = Scene::Photograph;
}

void Apply(std::wstring_view entry, Switches& switches) {
    constexpr std::wstring_view kFormats = L"formats=", kTime = L"time=", kScene = L"scene=";
    if (SameText(entry, L"inuse")) switches.inUse = true;
    else if (SameText(entry, L"unplugged")) switches.unplugged = true;
    else if (SameText(entry, L"stalled")) switches.stalled = true;
    else if (entry.size() > kFormats.size() && SameText(entry.substr(0, kFormats.size()), kFormats))
        ApplyFormats(entry.substr(kFormats.size()), switches);
    else if (entry.size() > kTime.size() && SameText(entry.substr(0, kTime.size()), kTime))
        ApplyTime(entry.substr(kTime.size()), switches);
    else if (entry.size() > kScene.size() && SameText(entry.substr(0, kScene.size()), kScene))
        ApplyScene(entry.substr(kScene.size()), switches);
}

}  // namespace

Switches ParseSwitches(std::wstring_view text, std::wstring_view cameraName) {
    Switches switches;
    for (std::wstring_view entry : Split(text, L';')) {
        // Switch values hold no ':', so the last one ends a camera name.
        size_t colon = entry.rfind(L':');
        if (colon != std::wstring_view::npos) {
            if (!SameText(entry.substr(0, colon), cameraName)) continue;
            entry.remove_prefix(colon + 1);
        }
        Apply(entry, switches);
    }
    return switches;
}

Switches ReadSwitches(std::wstring_view cameraName) {
    std::wstring value(256, L'\0');
    for (;;) {
        DWORD length = GetEnvironmentVariableW(L"VARDOLIN_DEMOCAM", value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) {
            value.resize(length);
            return ParseSwitches(value, cameraName);
        }
        value.resize(length);  // too small: length is the size needed
    }
}

}  // namespace vardolin::democam
