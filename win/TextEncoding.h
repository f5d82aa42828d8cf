// Conversions between the text encodings the component meets: UTF-8 (the
// encoder's descriptions, files, console output), UTF-16 (Windows and
// automation) and the system's single-byte (ANSI) code page (the encoder's
// comment segment).
#pragma once

#include <string>
#include <string_view>

namespace vardolin {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// The byte of character c in the ANSI code page, or -1 when c has no
// single-byte form there (no mapping, or a lead byte plus trail byte).
int ToAnsiByte(char16_t c) noexcept;

}  // namespace vardolin
