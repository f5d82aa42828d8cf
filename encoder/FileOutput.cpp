#include "encoder/FileOutput.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "encoder/NumberedError.h"

namespace vardolin {

namespace {

#ifdef _WIN32
int OpenExclusive(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const uint8_t* data, size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
}
int CloseFile(int fd) { return _close(fd); }
#else
int OpenExclusive(const std::filesystem::path& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
ssize_t WriteSome(int fd, const uint8_t* data, size_t size) { return write(fd, data, size); }
int CloseFile(int fd) { return close(fd); }
#endif

ComponentError FileSystemError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return {error_number::kPathNotFound, messages::kPathNotFound};
    case EACCES:
    case EPERM:
    case EROFS: return {error_number::kPermissionDenied, messages::kPermissionDenied};
    case ENOSPC: return {error_number::kDiskFull, messages::kDiskFull};
    default: return {error_number::kPathFileAccess, messages::kPathFileAccess};
    }
}

}  // namespace

bool FileExists(const std::filesystem::path& path) {
    std::error_code ignored;
    auto status = std::filesystem::status(path, ignored);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    int fd = OpenExclusive(path);
    if (fd < 0) {
        int error = errno;
        if (error == EEXIST && FileExists(path)) return false;
        throw FileSystemError(error == EEXIST ? EISDIR : error);
    }
    size_t written = 0;
    int error = 0;
    while (written < bytes.size()) {
        auto n = WriteSome(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<size_t>(n);
    }
    if (CloseFile(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw FileSystemError(error);
    }
    return true;
}

std::filesystem::path ReplacementPath(const std::filesystem::path& target) {
    std::filesystem::path replacement = target;
    replacement += ".new";
    return replacement;
}

std::error_code PutReplacementInPlace(const std::filesystem::path& replacement, const std::filesystem::path& target) {
    std::error_code error;
    std::filesystem::rename(replacement, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(replacement, ignored);
    }
    return error;
}

}  // namespace vardolin
