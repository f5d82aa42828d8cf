// The one error type of the component: a number and a description, which
// automation callers see as Err.Number and Err.Description. The encoder raises
// it, and so do the windows and automation objects; the description is UTF-8.
//
// CurrentError classifies the exception in flight; every boundary that turns
// an exception into a result or a message (COM methods, window procedures,
// the store of a photo, ...) calls it and nothing else.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace vardolin {

namespace error_number {
inline constexpr int32_t kInvalidValue = 1;  // bad sampling factor, table, comment length, ...
inline constexpr int32_t kOverflow = 6;      // a value that does not fit its field
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;  // an index outside an array
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kDiskFull = 61;          // the output file could not be written completely
inline constexpr int32_t kPermissionDenied = 70;  // the output file cannot be created for lack of rights
inline constexpr int32_t kPathFileAccess = 75;    // the output file cannot be created or written
inline constexpr int32_t kPathNotFound = 76;      // the output file's folder does not exist
inline constexpr int32_t kInvalidPropertyValue = 380;
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kAutomationError = 440;
}  // namespace error_number

// Descriptions are UTF-8.
namespace messages {
inline constexpr const char* kInvalidSampling = "无效采样值";
inline constexpr const char* kBadQuantTable = "错误量子化表";
inline constexpr const char* kInvalidCommentLength = "无效注释长度";
inline constexpr const char* kBadHuffmanTable = "错误霍夫曼码表";
inline constexpr const char* kInvalidTablePrecision = "量子化表中无效精度";
inline constexpr const char* kOverflow = "Overflow";
inline constexpr const char* kOutOfMemory = "Out of memory";
inline constexpr const char* kSubscriptOutOfRange = "Subscript out of range";
inline constexpr const char* kTypeMismatch = "Type mismatch";
inline constexpr const char* kDiskFull = "Disk full";
inline constexpr const char* kPermissionDenied = "Permission denied";
inline constexpr const char* kPathFileAccess = "Path/File access error";
inline constexpr const char* kPathNotFound = "Path not found";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
inline constexpr const char* kObjectRequired = "Object required";
inline constexpr const char* kAutomationError = "Automation error";
}  // namespace messages

class ComponentError : public std::runtime_error {
public:
    ComponentError(int32_t number, const std::string& description) : std::runtime_error(description), number_(number) {}
    ComponentError(int32_t number, const char* description) : std::runtime_error(description), number_(number) {}

    int32_t number() const noexcept { return number_; }
    // UTF-8 text of the description.
    const char* description() const noexcept { return what(); }

    static ComponentError Overflow() { return {error_number::kOverflow, messages::kOverflow}; }
    static ComponentError OutOfRange() { return {error_number::kSubscriptOutOfRange, messages::kSubscriptOutOfRange}; }
    static ComponentError TypeMismatch() { return {error_number::kTypeMismatch, messages::kTypeMismatch}; }
    static ComponentError PathFileAccess() { return {error_number::kPathFileAccess, messages::kPathFileAccess}; }
    static ComponentError InvalidPropertyValue() {
        return {error_number::kInvalidPropertyValue, messages::kInvalidPropertyValue};
    }
    static ComponentError ObjectRequired() { return {error_number::kObjectRequired, messages::kObjectRequired}; }

private:
    int32_t number_;
};

// The exception in flight, classified.
struct CaughtError {
    enum class Kind {
        Component,    // a ComponentError: its own number and description
        OutOfMemory,  // std::bad_alloc: number 7, "Out of memory"
        System,       // any other standard exception: number 440 and its text
        Unknown,      // anything else: number 440, "Automation error"
    };
    Kind kind = Kind::Unknown;
    int32_t number = error_number::kAutomationError;
    std::string description;  // UTF-8; empty only when there was no memory to copy it
};

// Classifies the exception being handled; call only inside a catch block.
CaughtError CurrentError() noexcept;

// 32-bit arithmetic that raises the overflow error instead of wrapping around.
namespace checked {
inline int32_t Add(int64_t a, int64_t b) {
    int64_t r = a + b;
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        throw ComponentError::Overflow();
    return static_cast<int32_t>(r);
}
inline int32_t Mul(int64_t a, int64_t b) {
    int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r) || r < std::numeric_limits<int32_t>::min() ||
        r > std::numeric_limits<int32_t>::max())
        throw ComponentError::Overflow();
    return static_cast<int32_t>(r);
}
// Rounds to the nearest integer, halves to even, and checks the 32-bit range.
int32_t RoundToInt32(double value);
}  // namespace checked

}  // namespace vardolin
