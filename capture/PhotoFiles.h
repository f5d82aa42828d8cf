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

// True when the entry can be used as a file name as it stands: not empty,
// no path separators, no "..", no characters Windows forbids in names
// (< > : " / \ | ? * and control characters), no trailing dot or space, and
// no reserved device name (CON, PRN, AUX, NUL, COM1..9, LPT1..9, also with an
// extension).
bool IsPlainFileName(const std::wstring& entry);

}  // namespace vardolin::capture
