// Putting a newly written file in the place of an existing one without ever
// leaving neither: the new file is complete before the old one goes.
#pragma once

#include <windows.h>

#include <filesystem>

namespace vardolin::capture {

// The name beside the target under which its replacement is written.
std::filesystem::path ReplacementPath(const std::filesystem::path& target);

// Moves the finished replacement onto the target, replacing it. On failure
// the replacement is removed, the target stays as it was and the Win32 error
// code is returned; 0 on success.
DWORD PutReplacementInPlace(const std::filesystem::path& replacement, const std::filesystem::path& target);

}  // namespace vardolin::capture
