#include "encoder/NumberedError.h"

#include <cmath>
#include <exception>
#include <new>

namespace vardolin {
namespace {

CaughtError Classified(CaughtError::Kind kind, int32_t number, const char* description) noexcept {
    CaughtError error;
    error.kind = kind;
    error.number = number;
    try {
        error.description = description;
    } catch (...) {
        // No memory to copy the text: the number alone still tells the error.
    }
    return error;
}

}  // namespace

CaughtError CurrentError() noexcept {
    try {
        throw;
    } catch (const ComponentError& e) {
        return Classified(CaughtError::Kind::Component, e.number(), e.description());
    } catch (const std::bad_alloc&) {
        return Classified(CaughtError::Kind::OutOfMemory, error_number::kOutOfMemory, messages::kOutOfMemory);
    } catch (const std::exception& e) {
        return Classified(CaughtError::Kind::System, error_number::kAutomationError, e.what());
    } catch (...) {
        return Classified(CaughtError::Kind::Unknown, error_number::kAutomationError, messages::kAutomationError);
    }
}

int32_t checked::RoundToInt32(double value) {
    double rounded = std::nearbyint(value);  // the default mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw ComponentError::Overflow();
    return static_cast<int32_t>(rounded);
}

}  // namespace vardolin
