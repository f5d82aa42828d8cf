// Where photos live: the photo folder (the folder the settings name, else
// "Pic" beside the component's library file), which roster entries can be
// used as file names, and whether an entry's photo is stored.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vardolin::roster {

// The folder that holds the component's library file, in the extended-length
// form (\\?\C:\...) so that the paths built from it may pass 260 characters:
// file functions take such paths whatever the system's long-path setting.
// Raises an error (never gives a relative path) when it cannot be found.
std::filesystem::path LibraryFolder();

// The folder photos are stored in, extended-length: IT's policy, the user's
// choice or the machine's value (win/Settings), else Pic beside the library.
// Raises an error that says so when the folder set is not a full path.
std::filesystem::path PhotoFolder();

// A path as the user knows it, without the extended-length prefix.
std::wstring DisplayPath(const std::filesystem::path& path);

// 0 when a file can be created in `folder`; otherwise the system's error code.
unsigned long FolderWriteError(const std::filesystem::path& folder);

// 0 when the photo folder can be reached: it is there, or its parent is, so
// the first store can make it. Otherwise the system's error code (an offline
// share, a drive that is not there, a file in the folder's place).
unsigned long FolderReachError(const std::filesystem::path& folder);

// folder\<entry>.jpg
std::filesystem::path PhotoPath(const std::filesystem::path& folder, const std::wstring& entry);

// True when the entry holds nothing but white space and invisible format
// characters (or nothing): no one to photograph.
bool IsBlank(const std::wstring& entry);

enum class NameProblem {
    None,
    Blank,
    Unusable,  // a character, a device name or a form Windows will not hold
    TooLong,   // "<entry>.jpg" passes the 255 UTF-16 units of a file name
};

// Whether "<entry>.jpg" is a name Windows can hold in the photo folder.
// Storing a photo and looking for a stored one both ask this, so they agree
// on every entry. Spaces around the entry are part of the name: " A " is
// stored as " A .jpg".
NameProblem PhotoNameProblem(const std::wstring& entry);
inline bool IsUsablePhotoName(const std::wstring& entry) { return PhotoNameProblem(entry) == NameProblem::None; }

// The name the file system holds for the file at `path` (FindFirstFileW's
// cFileName); nullopt when there is none. Windows finds a file through a
// name in another case or through its short name; only this stored name
// tells whose file it is.
std::optional<std::wstring> StoredFileName(const std::filesystem::path& path);

// True when folder\<entry>.jpg exists as an ordinary file (not a folder, not
// hidden, not a system file) whose stored name is exactly "<entry>.jpg". The
// entry is never read as a pattern: an entry that cannot be a photo's name
// has no stored photo.
bool HasStoredPhoto(const std::filesystem::path& folder, const std::wstring& entry);

// Texts that Windows takes for the same file name (ignoring case), the same
// key for each.
std::wstring FileNameKey(const std::wstring& name);

}  // namespace vardolin::roster
