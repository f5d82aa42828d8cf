// Reads the test switches from the environment; Switches.h describes them.
#include "democam/Switches.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
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
    return a.size() == b.size() && CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                                        static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
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

// Sizes as "640x480,320x240"; only the sizes the camera knows count.
void ApplySizes(std::wstring_view list, Switches& switches) {
    std::vector<FrameSize> sizes;
    for (std::wstring_view name : Split(list, L','))
        for (FrameSize size : kFrameSizes)
            if (SameText(name, std::to_wstring(size.width) + L"x" + std::to_wstring(size.height)))
                sizes.push_back(size);
    if (!sizes.empty()) switches.sizes = sizes;
}

// A count of milliseconds: digits only.
std::optional<std::chrono::milliseconds> Milliseconds(std::wstring_view value) {
    std::wstring digits(value);
    wchar_t* end = nullptr;
    long long ms = std::wcstoll(digits.c_str(), &end, 10);
    if (digits.empty() || !iswdigit(digits[0]) || !end || *end != L'\0' || ms < 0) return std::nullopt;
    return std::chrono::milliseconds(ms);
}

// A positive decimal number no larger than largest: digits with at most one
// '.', e.g. 0.3 or 2.
std::optional<double> Decimal(std::wstring_view value, double largest) {
    std::wstring text(value);
    if (text.empty() || text.find_first_not_of(L"0123456789.") != std::wstring::npos) return std::nullopt;
    wchar_t* end = nullptr;
    double number = std::wcstod(text.c_str(), &end);
    if (!end || *end != L'\0' || !(number > 0) || number > largest) return std::nullopt;
    return number;
}

// A wait of MS milliseconds; beyond about eleven days it is as good as
// forever, and a cap keeps it within the clock's range.
std::optional<std::chrono::milliseconds> Wait(std::wstring_view value) {
    constexpr std::chrono::milliseconds kLongest{1'000'000'000};
    std::optional<std::chrono::milliseconds> ms = Milliseconds(value);
    if (ms && *ms > kLongest) ms = kLongest;
    return ms;
}

void ApplyPages(std::wstring_view where, Switches& switches) {
    bool pin = SameText(where, L"pin"), filter = SameText(where, L"filter"), both = SameText(where, L"both");
    if (pin || both) switches.pinPages = false;
    if (filter || both) switches.filterPages = false;
}

// When the DLL was loaded into the process: where inuse=MS counts from.
const std::chrono::steady_clock::time_point kLoaded = std::chrono::steady_clock::now();

void ApplyScene(std::wstring_view name, Switches& switches) {
    if (SameText(name, L"portrait")) switches.scene = Scene::Portrait;
    else if (SameText(name, L"photo")) switches.scene = Scene::Photograph;
}

// The value of entry when it is "name=value".
std::optional<std::wstring_view> ValueOf(std::wstring_view entry, std::wstring_view name) {
    if (entry.size() <= name.size() + 1 || entry[name.size()] != L'=' || !SameText(entry.substr(0, name.size()), name))
        return std::nullopt;
    return entry.substr(name.size() + 1);
}

void Apply(std::wstring_view entry, Switches& switches) {
    if (SameText(entry, L"inuse")) switches.inUse = true;
    else if (SameText(entry, L"unplugged")) switches.unplugged = true;
    else if (SameText(entry, L"stalled")) switches.stalled = true;
    else if (SameText(entry, L"vih2")) switches.formatBlock = FormatBlock::VideoInfo2;
    else if (SameText(entry, L"strict")) switches.strictThreads = true;
    else if (SameText(entry, L"moving")) switches.moving = true;
    else if (auto value = ValueOf(entry, L"inuse")) {
        if (auto ms = Wait(*value)) switches.inUseFor = ms;
    } else if (auto value = ValueOf(entry, L"moving")) {
        if (auto ms = Wait(*value)) switches.movingFor = ms;
    } else if (auto value = ValueOf(entry, L"firstframe")) {
        if (auto ms = Wait(*value)) switches.firstFrameDelay = *ms;
    } else if (auto value = ValueOf(entry, L"time")) {
        if (auto ms = Milliseconds(*value)) switches.frozenTime = ms;
    } else if (auto value = ValueOf(entry, L"formats")) ApplyFormats(*value, switches);
    else if (auto value = ValueOf(entry, L"sizes")) ApplySizes(*value, switches);
    else if (auto value = ValueOf(entry, L"scene")) ApplyScene(*value, switches);
    else if (auto value = ValueOf(entry, L"nopages")) ApplyPages(*value, switches);
    else if (auto value = ValueOf(entry, L"blur")) {
        if (auto sigma = Decimal(*value, kLargestBlur)) switches.blurSigma = *sigma;
    } else if (auto value = ValueOf(entry, L"gain")) {
        if (auto gain = Decimal(*value, kLargestGain)) switches.gain = *gain;
    }
}

}  // namespace

bool InUseNow(const Switches& switches) noexcept {
    return switches.inUse || (switches.inUseFor && std::chrono::steady_clock::now() - kLoaded < *switches.inUseFor);
}

std::chrono::milliseconds SceneHurry(const Switches& switches) noexcept {
    using std::chrono::milliseconds;
    auto since = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - kLoaded);
    bool moving = switches.moving || (switches.movingFor && since < *switches.movingFor);
    return moving ? 40 * since : milliseconds(0);
}

Switches ParseSwitches(std::wstring_view text, const CameraIdentity& camera) {
    Switches switches;
    for (std::wstring_view entry : Split(text, L';')) {
        // Switch values and device paths hold no ':', so the last one ends
        // the camera's name or path.
        size_t colon = entry.rfind(L':');
        if (colon != std::wstring_view::npos) {
            std::wstring_view addressed = entry.substr(0, colon);
            if (!SameText(addressed, camera.friendlyName) && !SameText(addressed, camera.devicePath)) continue;
            entry.remove_prefix(colon + 1);
        }
        Apply(entry, switches);
    }
    return switches;
}

Switches ReadSwitches(const CameraIdentity& camera) {
    std::wstring value(256, L'\0');
    for (;;) {
        DWORD length = GetEnvironmentVariableW(L"VARDOLIN_DEMOCAM", value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) {
            value.resize(length);
            return ParseSwitches(value, camera);
        }
        value.resize(length);  // too small: length is the size needed
    }
}

}  // namespace vardolin::democam
