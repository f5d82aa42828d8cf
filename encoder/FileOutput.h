// The file-system side of writing pictures: the existence test, a write that
// leaves either the complete file or no file at all, and replacing a file by
// a complete new one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace vardolin {

// True for any existing file (read-only, hidden and system files included);
// a directory of that name does not count.
bool FileExists(const std::filesystem::path& path);

// Creates the file (never replacing one) and writes bytes into it. Returns
// false when a file of that name appeared meanwhile. Raises the file-system
// error as a ComponentError; a file that could not be completed is removed.
bool WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A file is replaced by writing its replacement beside it, under this name,
// and then putting the finished replacement in its place: the target is the
// old file until the new one is complete, and never missing.
std::filesystem::path ReplacementPath(const std::filesystem::path& target);

// Renames the finished replacement onto the target, replacing it. On failure
// the replacement is removed, the target stays as it was and the error is
// returned; an empty error on success. (The component on Windows renames
// with the system's own call instead, to report the system's reason for a
// failure; this one serves the command-line encoder.)
std::error_code PutReplacementInPlace(const std::filesystem::path& replacement, const std::filesystem::path& target);

}  // namespace vardolin
