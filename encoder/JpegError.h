// The one error type the encoder raises. It carries the number and the
// description that automation callers see as Err.Number and Err.Description.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace vardolin {

enum class ErrorNumber : int32_t {
    InvalidValue = 1,          // bad sampling factor, table, comment length, ...
    Overflow = 6,              // integer overflow or a value that does not fit its field
    SubscriptOutOfRange = 9,   // an index outside an array
    DiskFull = 61,             // the output file could not be written completely
    PermissionDenied = 70,     // the output file cannot be created for lack of rights
    PathFileAccess = 75,       // the output file cannot be created or written
    PathNotFound = 76,         // the output file's folder does not exist
};

// Descriptions are UTF-8.
namespace messages {
inline constexpr const char* kInvalidSampling = "无效采样值";
inline constexpr const char* kBadQuantTable = "错误量子化表";
inline constexpr const char* kInvalidCommentLength = "无效注释长度";
inline constexpr const char* kBadHuffmanTable = "错误霍夫曼码表";
inline constexpr const char* kInvalidTablePrecision = "量子化表中无效精度";
inline constexpr const char* kOverflow = "Overflow";
inline constexpr const char* kSubscriptOutOfRange = "Subscript out of range";
inline constexpr const char* kDiskFull = "Disk full";
inline constexpr const char* kPermissionDenied = "Permission denied";
inline constexpr const char* kPathFileAccess = "Path/File access error";
inline constexpr const char* kPathNotFound = "Path not found";
}  // namespace messages

class JpegError : public std::runtime_error {
public:
    JpegError(ErrorNumber number, const char* description)
        : std::runtime_error(description), number_(number) {}

    ErrorNumber number() const noexcept { return number_; }
    int32_t code() const noexcept { return static_cast<int32_t>(number_); }
    // UTF-8 text of the description.
    const char* description() const noexcept { return what(); }

    static JpegError Overflow() { return {ErrorNumber::Overflow, messages::kOverflow}; }
    static JpegError OutOfRange() {
        return {ErrorNumber::SubscriptOutOfRange, messages::kSubscriptOutOfRange};
    }

private:
    ErrorNumber number_;
};

// 32-bit arithmetic that raises the overflow error instead of wrapping around.
namespace checked {
inline int32_t Add(int64_t a, int64_t b) {
    int64_t r = a + b;
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        throw JpegError::Overflow();
    return static_cast<int32_t>(r);
}
inline int32_t Mul(int64_t a, int64_t b) {
    int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r) || r < std::numeric_limits<int32_t>::min() ||
        r > std::numeric_limits<int32_t>::max())
        throw JpegError::Overflow();
    return static_cast<int32_t>(r);
}
// Rounds to the nearest integer, halves to even, and checks the 32-bit range.
int32_t RoundToInt32(double value);
}  // namespace checked

}  // namespace vardolin
