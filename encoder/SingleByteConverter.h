// How comment characters become bytes: the platform's single-byte code page.
#pragma once

#include <functional>

namespace vardolin {

// Turns one UTF-16 code unit into a byte of the single-byte code page, or
// returns -1 when it needs more than one byte there.
using SingleByteConverter = std::function<int(char16_t)>;

// The byte of the same value, for a platform without a code page of its own.
inline int Latin1(char16_t c) { return c <= 0xFF ? static_cast<int>(c) : -1; }

}  // namespace vardolin
