// The file-system side of SaveFile: the existence test and a write that
// leaves either the complete file or no file at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vardolin {

// True for any existing file (read-only, hidden and system files included);
// a directory of that name does not count.
bool FileExists(const std::filesystem::path& path);

// Creates the file (never replacing one) and writes bytes into it. Returns
// false when a file of that name appeared meanwhile. Raises the file-system
// error as a ComponentError; a file that could not be completed is removed.
bool WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace vardolin
