#include "ReplaceFile.h"

namespace vardolin::capture {

std::filesystem::path ReplacementPath(const std::filesystem::path& target) {
    std::filesystem::path replacement = target;
    replacement += L".new";
    return replacement;
}

DWORD PutReplacementInPlace(const std::filesystem::path& replacement, const std::filesystem::path& target) {
    if (MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    DWORD error = GetLastError();
    DeleteFileW(replacement.c_str());
    return error ? error : ERROR_GEN_FAILURE;
}

}  // namespace vardolin::capture
