#include "win/Settings.h"

#include "win/ComponentError.h"
#include "win/Win32Handles.h"

namespace vardolin {
namespace {

struct StoredText {
    std::wstring text;
    bool expandable = false;  // REG_EXPAND_SZ
};

// A string value of any length; nullopt when the key or the value is missing
// or holds no string.
std::optional<StoredText> ReadText(HKEY root, const wchar_t* key, const wchar_t* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
    UniqueKey held(opened);
    for (;;) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(held.get(), value, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        LSTATUS status =
            RegQueryValueExW(held.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &room);
        if (status == ERROR_MORE_DATA) continue;  // it grew meanwhile
        if (status != ERROR_SUCCESS) return std::nullopt;
        text.resize(room / sizeof(wchar_t));
        // The stored text may or may not carry its terminator.
        if (auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return StoredText{std::move(text), type == REG_EXPAND_SZ};
    }
}

void WriteText(const wchar_t* key, const wchar_t* value, const std::wstring& text) {
    HKEY created = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr);
    ThrowIfFailed(HRESULT_FROM_WIN32(status));
    UniqueKey held(created);
    status = RegSetValueExW(held.get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ThrowIfFailed(HRESULT_FROM_WIN32(status));
}

std::optional<DWORD> ReadNumber(const wchar_t* value) {
    DWORD number = 0, bytes = sizeof number;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value, RRF_RT_REG_DWORD, nullptr, &number, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return number;
}

void WriteNumber(const wchar_t* value, DWORD number) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, value, REG_DWORD, &number, sizeof number);
}

std::wstring Expanded(const std::wstring& text) {
    std::wstring expanded(text.size() + 64, L'\0');
    for (;;) {
        DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return text;
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.resize(needed);
    }
}

std::optional<PhotoFolderSetting> PhotoFolderIn(HKEY root, const wchar_t* key, PhotoFolderSource source) {
    std::optional<StoredText> stored = ReadText(root, key, kPhotoFolderValue);
    if (!stored || stored->text.empty()) return std::nullopt;
    return PhotoFolderSetting{stored->expandable ? Expanded(stored->text) : stored->text, source};
}

}  // namespace

namespace settings {

std::wstring Read(const std::wstring& key) {
    std::optional<StoredText> stored = ReadText(HKEY_CURRENT_USER, kSectionPath, key.c_str());
    return stored ? stored->text : std::wstring();
}

void Write(const std::wstring& key, const std::wstring& value) { WriteText(kSectionPath, key.c_str(), value); }

}  // namespace settings

namespace {

std::wstring UserText(const wchar_t* value) {
    std::optional<StoredText> stored = ReadText(HKEY_CURRENT_USER, kSettingsKey, value);
    return stored ? stored->text : std::wstring();
}

// The camera's values are remembered on a best-effort basis: a failure keeps
// the choice for this session only.
void RememberText(const wchar_t* value, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, value, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

CameraChoice RememberedCamera() { return {UserText(kCameraNameValue), UserText(kCameraPathValue)}; }

void RememberCamera(const CameraChoice& camera) {
    RememberText(kCameraNameValue, camera.name);
    RememberText(kCameraPathValue, camera.path);
}

bool AutoFrameEnabled() { return ReadNumber(kAutoFrameValue).value_or(0) != 0; }

void RememberAutoFrame(bool on) { WriteNumber(kAutoFrameValue, on ? 1 : 0); }

bool PhotoChecksEnabled() { return ReadNumber(kPhotoChecksValue).value_or(0) != 0; }

void RememberPhotoChecks(bool on) { WriteNumber(kPhotoChecksValue, on ? 1 : 0); }

bool HandsFreeEnabled() { return ReadNumber(kHandsFreeValue).value_or(0) != 0; }

void RememberHandsFree(bool on) { WriteNumber(kHandsFreeValue, on ? 1 : 0); }

int PhotoScale() {
    DWORD value = ReadNumber(kPhotoScaleValue).value_or(1);
    return value >= 1 && value <= kLargestPhotoScale ? static_cast<int>(value) : 1;
}

void RememberPhotoScale(int scale) { WriteNumber(kPhotoScaleValue, static_cast<DWORD>(scale)); }

std::optional<PhotoFolderSetting> ConfiguredPhotoFolder() {
    // HKLM\Software\Vardolin is read in the DLL's own registry view, where
    // the package of its bitness wrote it; the policy key is shared by both.
    if (auto policy = PhotoFolderIn(HKEY_LOCAL_MACHINE, kPolicyKey, PhotoFolderSource::Policy)) return policy;
    if (auto user = PhotoFolderIn(HKEY_CURRENT_USER, kSettingsKey, PhotoFolderSource::User)) return user;
    return PhotoFolderIn(HKEY_LOCAL_MACHINE, kSettingsKey, PhotoFolderSource::Machine);
}

bool PhotoFolderSetByPolicy() {
    return PhotoFolderIn(HKEY_LOCAL_MACHINE, kPolicyKey, PhotoFolderSource::Policy).has_value();
}

void RememberPhotoFolder(const std::wstring& folder) { WriteText(kSettingsKey, kPhotoFolderValue, folder); }

}  // namespace vardolin
