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
        if (length == 0) break;
        if (length < buffer.size()) {
            std::filesystem::path file(std::wstring(buffer.data(), length));
            if (!file.is_absolute()) break;
            return std::filesystem::path(ExtendedLength(file.native())).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
    throw ComponentErrorFromWide(error_number::kPathNotFound, kLibraryFolderUnknownText);
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
// are all devices, " CON.jpg" (a leading space stays) is a file. Windows 11
// narrowed the rule to the bare names; photos stored there must still open
// on Windows 10, so the older rule decides.
bool IsReservedDeviceName(const std::wstring& fileName) {
    std::wstring stem = fileName.substr(0, fileName.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), AsciiUpper);
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices)
        if (stem == device) return true;
    // COM0..COM9 and LPT0..LPT9; the superscript digits 1, 2 and 3 count too.
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) &&
           ((stem[3] >= L'0' && stem[3] <= L'9') || stem[3] == L'\u00B9' || stem[3] == L'\u00B2' ||
            stem[3] == L'\u00B3');
}

// Characters no Windows file name may hold: the control characters, the path
// separators, the stream separator ':' and the wildcards and redirections.
bool IsForbiddenInFileName(wchar_t c) {
    return c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

// A surrogate that is not one half of a pair: NTFS stores it, but shares on
// other systems, sync tools and archives refuse such names.
bool HasUnpairedSurrogate(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        else if (c >= 0xD800 && c <= 0xDFFF) return true;
    }
    return false;
}

// White space (Unicode's White_Space) and the invisible format characters a
// cell may hold without showing anything.
bool IsInvisible(wchar_t c) {
    if (c == L' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0xAD || c == 0x034F || c == 0x061C ||
        c == 0x115F || c == 0x1160 || c == 0x1680 || c == 0x180E || c == 0x3000 || c == 0x3164 || c == 0xFEFF ||
        c == 0xFFA0)
        return true;
    return (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) ||
           (c >= 0xFFF9 && c <= 0xFFFB);
}

}  // namespace

bool IsBlank(const std::wstring& entry) { return std::all_of(entry.begin(), entry.end(), IsInvisible); }

NameProblem PhotoNameProblem(const std::wstring& entry) {
    if (IsBlank(entry)) return NameProblem::Blank;
    // "." and ".." name the folder itself and its parent, never a person.
    if (entry == L"." || entry == L".." || std::any_of(entry.begin(), entry.end(), IsForbiddenInFileName) ||
        HasUnpairedSurrogate(entry))
        return NameProblem::Unusable;
    // The name always ends in ".jpg", so the trailing dots and spaces that
    // Windows strips from a name never reach its end.
    std::wstring fileName = entry + L".jpg";
    if (IsReservedDeviceName(fileName)) return NameProblem::Unusable;
    return fileName.size() <= kLongestFileName ? NameProblem::None : NameProblem::TooLong;
}

std::optional<std::wstring> StoredFileName(const std::filesystem::path& path) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(search);
    return std::wstring(found.cFileName);
}

bool HasStoredPhoto(const std::filesystem::path& folder, const std::wstring& entry) {
    if (!IsUsablePhotoName(entry)) return false;
    const std::filesystem::path path = PhotoPath(folder, entry);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        return false;
    return StoredFileName(path) == entry + L".jpg";
}

std::wstring FileNameKey(const std::wstring& name) {
    if (name.empty()) return name;
    std::wstring key(name);
    // The invariant upper case, as file systems compare names.
    if (!LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.c_str(), static_cast<int>(name.size()), key.data(),
                       static_cast<int>(key.size()), nullptr, nullptr, 0))
        return name;
    return key;
}

}  // namespace vardolin::roster
