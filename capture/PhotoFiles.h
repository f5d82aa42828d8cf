// Where photos live: the folder of the component's own library file, its
// "Pic" subfolder, and which roster entries can be used as file names.
#pragma once

#include <filesystem>
#include <string>

namespace vardolin::capture {

// The folder that holds the component's library file.
std::filesystem::path LibraryFolder();

// LibraryFolder()\Pic\<entry>.jpg
std::filesystem::path PhotoPath(const std::wstring& entry);

// True when the entry names someone (it is not blank) and "<entry>.jpg" is a
// name Windows can hold in the Pic folder. Storing a photo and looking for a
// stored one both ask this, so they agree on every entry. Spaces around the
// entry are part of the name: " A " is stored as " A .jpg".
bool IsUsablePhotoName(const std::wstring& entry);

}  // namespace vardolin::capture
