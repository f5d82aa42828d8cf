// Why a store failed, in words for the user.
#pragma once

#include <string>

#include "encoder/NumberedError.h"

namespace vardolin::capture {

// Describes a classified error (CurrentError, inside a catch block): the
// file system's failures in plain words, other component errors with their
// number, no memory and anything else in a sentence of their own.
std::wstring StoreFailureText(const CaughtError& error);

}  // namespace vardolin::capture
