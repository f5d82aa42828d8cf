#include "roster/PhotoFiles.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "roster/RosterTexts.h"
#include "win/ComponentError.h"
#include "win/ModuleInstance.h"
#include "win/Settings.h"
#include "win/Win32Handles.h"

namespace vardolin::roster {
namespace {

constexpr std::wstring_view kExtendedPrefix = LR"(\\?\)";
constexpr std::wstring_view kExtendedUncPrefix = LR"(\\?\UNC\)";

std::wstring ExtendedLength(const std::wstring& path) {
    if (path.starts_with(kExtendedPrefix)) return path;
    if (path.starts_with(LR"(\\)")) return std::wstring(kExtendedUncPrefix) + path.substr(2);
    return std::wstring(kExtendedPrefix) + path;
}

// A full path with its "." and ".." steps resolved and "/" read as "\", as
// extended-length paths need: the system takes them literally.
std::wstring Normalized(const std::wstring& path) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0) return path;
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

DWORD AttributesOf(const std::filesystem::path& path, DWORD& error) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    return attributes;
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::filesystem::path LibraryFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(ModuleInstance(), buffer.data(), DWORD(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size())
            return std::filesystem::path(ExtendedLength(std::wstring(buffer.data(), length))).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path PhotoFolder() {
    std::optional<PhotoFolderSetting> setting = ConfiguredPhotoFolder();
    if (!setting) return LibraryFolder() / L"Pic";
    // "C:\Photos" and "\\server\share\Photos" name one folder; "Photos",
    // "\Photos" and "C:Photos" depend on where the host happens to be.
    std::filesystem::path folder(setting->folder);
    if (!folder.is_absolute()) throw ComponentErrorFromWide(error_number::kPathNotFound, PartialFolderText(folder));
    std::wstring full = Normalized(folder.native());
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    return ExtendedLength(full);
}

std::wstring DisplayPath(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.starts_with(kExtendedUncPrefix)) return LR"(\\)" + text.substr(kExtendedUncPrefix.size());
    if (text.starts_with(kExtendedPrefix)) return text.substr(kExtendedPrefix.size());
    return text;
}

unsigned long FolderWriteError(const std::filesystem::path& folder) {
    // A file that goes away when closed: nothing is left behind.
    UniqueFile probe =
        AdoptFile(CreateFileW((folder / L"~vardolin-write-test.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (probe) return 0;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS) return 0;  // a probe of another window: the folder takes files
    return error ? error : ERROR_GEN_FAILURE;
}

unsigned long FolderReachError(const std::filesystem::path& folder) {
    DWORD error = 0;
    DWORD attributes = AttributesOf(folder, error);
    if (IsFolder(attributes)) return 0;
    if (attributes != INVALID_FILE_ATTRIBUTES) return ERROR_DIRECTORY;  // a file in its place
    if (error != ERROR_FILE_NOT_FOUND) return error;
    DWORD parentError = 0;
    if (IsFolder(AttributesOf(folder.parent_path(), parentError))) return 0;
    return parentError ? parentError : ERROR_PATH_NOT_FOUND;
}

std::filesystem::path PhotoPath(const std::filesystem::path& folder, const std::wstring& entry) {
    return folder / (entry + L".jpg");
}

namespace {

// The longest name of one folder entry on NTFS, FAT32 and exFAT, in UTF-16
// code units.
constexpr size_t kLongestFileName = 255;

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

// Windows 10 and earlier open a device instead of a file when the name, cut
// at its first dot and stripped of the spaces that then end it, is one of
// these (ASCII letters in any case): "CON.jpg", "con .jpg" and "Com1.x.jpg"
// are all devices, " CON.jpg" (a leading space stays) and "COM0.jpg" are
// files. Windows 11 narrowed the rule to the bare names; photos stored there
// must still open on Windows 10, so the older rule decides.
bool IsReservedDeviceName(const std::wstring& fileName) {
    std::wstring stem = fileName.substr(0, fileName.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), AsciiUpper);
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices)
        if (stem == device) return true;
    // COM1..COM9 and LPT1..LPT9; the superscript digits 1, 2 and 3 count too.
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) &&
           ((stem[3] >= L'1' && stem[3] <= L'9') || stem[3] == L'\u00B9' || stem[3] == L'\u00B2' ||
            stem[3] == L'\u00B3');
}

// Characters no Windows file name may hold: the control characters, the path
// separators, the stream separator ':' and the wildcards and redirections.
bool IsForbiddenInFileName(wchar_t c) {
    return c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

}  // namespace

bool IsBlank(const std::wstring& entry) { return entry.find_first_not_of(L' ') == std::wstring::npos; }

bool IsUsablePhotoName(const std::wstring& entry) {
    // "." and ".." name the folder itself and its parent, never a person.
    if (IsBlank(entry) || entry == L"." || entry == L"..") return false;
    if (std::any_of(entry.begin(), entry.end(), IsForbiddenInFileName)) return false;
    // The name always ends in ".jpg", so the trailing dots and spaces that
    // Windows strips from a name never reach its end.
    std::wstring fileName = entry + L".jpg";
    return fileName.size() <= kLongestFileName && !IsReservedDeviceName(fileName);
}

bool HasStoredPhoto(const std::filesystem::path& folder, const std::wstring& entry) {
    if (!IsUsablePhotoName(entry)) return false;
    DWORD attributes = GetFileAttributesW(PhotoPath(folder, entry).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

}  // namespace vardolin::roster
