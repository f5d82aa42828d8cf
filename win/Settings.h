// Every value the component keeps in the registry, read and written here
// alone: the capture window's options in the key earlier installations
// already use, and the newer settings under Software\Vardolin (the camera,
// the photo options and the photo folder), with the machine's and IT's
// values for the photo folder.
#pragma once

#include <optional>
#include <string>

namespace vardolin {

namespace settings {

// The capture window's options: text values under HKEY_CURRENT_USER in the
// section "4wdq" of the application "tevrak".
inline constexpr const wchar_t* kTopKey = L"Top";
inline constexpr const wchar_t* kDirectDeleteKey = L"Del";
inline constexpr const wchar_t* kQualityKey = L"intQ";
inline constexpr const wchar_t* kSectionPath = L"Software\\VB and VBA Program Settings\\tevrak\\4wdq";

// The stored text; empty when the key (or the section) does not exist.
std::wstring Read(const std::wstring& key);
// Stores the text, creating the section when needed; raises an error on failure.
void Write(const std::wstring& key, const std::wstring& value);

}  // namespace settings

// HKCU\Software\Vardolin holds the user's newer settings; the same path
// under HKLM holds what the per-machine package writes (in the registry view
// of the DLL's own bitness), and under HKLM\Software\Policies what IT sets.
inline constexpr const wchar_t* kSettingsKey = L"Software\\Vardolin";
inline constexpr const wchar_t* kCameraSettingKey = kSettingsKey;
inline constexpr const wchar_t* kPolicyKey = L"Software\\Policies\\Vardolin";

// The camera chosen in the source dialog: CameraName and CameraPath (REG_SZ).
inline constexpr const wchar_t* kCameraNameValue = L"CameraName";
inline constexpr const wchar_t* kCameraPathValue = L"CameraPath";
struct CameraChoice {
    std::wstring name;
    std::wstring path;  // empty when only the name was stored
};
CameraChoice RememberedCamera();
void RememberCamera(const CameraChoice& camera);

// REG_DWORD 0 or 1: whether the crop frame goes onto the face found in each
// new still. Off until the user turns it on.
inline constexpr const wchar_t* kAutoFrameValue = L"AutoFrame";
bool AutoFrameEnabled();
void RememberAutoFrame(bool on);

// REG_DWORD 0 or 1: whether each new still is checked (blurred, too dark or
// bright, no face, too far) and the first problem found is shown on it. Off
// until the user turns it on.
inline constexpr const wchar_t* kPhotoChecksValue = L"PhotoChecks";
bool PhotoChecksEnabled();
void RememberPhotoChecks(bool on);

// REG_DWORD 0 or 1: whether a photo is taken by itself once a face holds
// still in the live picture. Off until the user turns it on.
inline constexpr const wchar_t* kHandsFreeValue = L"HandsFree";
bool HandsFreeEnabled();
void RememberHandsFree(bool on);

// REG_DWORD 1, 2 or 3: photos of 156 x 188 times that. 1 until the user
// chooses another; a stored value out of range counts as 1.
inline constexpr const wchar_t* kPhotoScaleValue = L"PhotoScale";
inline constexpr int kLargestPhotoScale = 3;
int PhotoScale();
void RememberPhotoScale(int scale);

// PhotoFolder (REG_SZ, or REG_EXPAND_SZ with environment variables): where
// the photos go. IT's policy comes first, then the user's choice, then the
// machine's value; an empty value counts as not set.
inline constexpr const wchar_t* kPhotoFolderValue = L"PhotoFolder";
enum class PhotoFolderSource { Policy, User, Machine };
struct PhotoFolderSetting {
    std::wstring folder;  // expanded, as the value gives it
    PhotoFolderSource source;
};
// Nullopt when no one set a folder: then the photos go beside the DLL.
std::optional<PhotoFolderSetting> ConfiguredPhotoFolder();
bool PhotoFolderSetByPolicy();
// The user's choice; raises an error when it cannot be stored.
void RememberPhotoFolder(const std::wstring& folder);

}  // namespace vardolin
