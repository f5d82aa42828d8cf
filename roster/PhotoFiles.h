// Where photos live: the folder of the component's own library file, its
// "Pic" subfolder, which roster entries can be used as file names, and whether
// an entry's photo is stored.
#pragma once

#include <filesystem>
#include <string>

namespace vardolin::roster {

// The folder that holds the component's library file, in the extended-length
// form (\\?\C:\...) so that the paths built from it may pass 260 characters:
// file functions take such paths whatever the system's long-path setting.
std::filesystem::path LibraryFolder();

// A path as the user knows it, without the extended-length prefix.
std::wstring DisplayPath(const std::filesystem::path& path);

// Empty when a file can be created in `folder`; otherwise one message for the
// user that names the folder, says why, and where the component should live.
std::wstring UnwritableFolderNotice(const std::filesystem::path& folder);

// LibraryFolder()\Pic\<entry>.jpg
std::filesystem::path PhotoPath(const std::wstring& entry);

// True when the entry holds nothing but spaces (or nothing): no one to photograph.
bool IsBlank(const std::wstring& entry);

// True when the entry names someone (it is not blank) and "<entry>.jpg" is a
// name Windows can hold in the Pic folder. Storing a photo and looking for a
// stored one both ask this, so they agree on every entry. Spaces around the
// entry are part of the name: " A " is stored as " A .jpg".
bool IsUsablePhotoName(const std::wstring& entry);

// True when the exact file "Pic\<entry>.jpg" beside the component exists as
// an ordinary file (not a folder, not hidden, not a system file). The entry
// is never read as a pattern: an entry that cannot be a photo's name (with
// "*", "?", a path separator, ...) has no stored photo.
bool HasStoredPhoto(const std::wstring& entry);

}  // namespace vardolin::roster
