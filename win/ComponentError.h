// The error that the capture window's handlers raise: a number and a
// description, as a macro would see them in Err.Number and Err.Description.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <stdexcept>
#include <string>

#include "JpegError.h"

namespace vardolin {

// The numbers the encoder raises are its own (JpegError); the others the
// component adds here.
namespace error_number {
inline constexpr long kOverflow = static_cast<long>(ErrorNumber::Overflow);
inline constexpr long kOutOfMemory = 7;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kPathFileAccess = static_cast<long>(ErrorNumber::PathFileAccess);
inline constexpr long kInvalidPropertyValue = 380;
inline constexpr long kObjectRequired = 424;
inline constexpr long kAutomationError = 440;
}  // namespace error_number

class ComponentError : public std::runtime_error {
public:
    ComponentError(long number, std::wstring description)
        : std::runtime_error("component error"), number_(number),
          description_(std::move(description)) {}

    long number() const noexcept { return number_; }
    const std::wstring& description() const noexcept { return description_; }

    static ComponentError TypeMismatch();
    static ComponentError Overflow();
    static ComponentError InvalidPropertyValue();

private:
    long number_;
    std::wstring description_;
};

// The error number a macro sees for a failed automation call: the low word for
// errors in the control facility (0x800A....), the whole HRESULT otherwise.
long ErrorNumberOf(HRESULT hr) noexcept;

// Turns a failed HRESULT (with the callee's EXCEPINFO, when it filled one) into
// a ComponentError. Does nothing for a success code.
void ThrowIfFailed(HRESULT hr, EXCEPINFO* info = nullptr);

}  // namespace vardolin
