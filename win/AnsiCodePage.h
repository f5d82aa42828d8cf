// Conversion of comment characters to the system's single-byte (ANSI) code
// page for the encoder's COM segment.
#pragma once

namespace vardolin::server {

// The byte of character c in the ANSI code page, or -1 when c has no
// single-byte form there (no mapping, or a lead byte plus trail byte).
int ToAnsiByte(char16_t c) noexcept;

}  // namespace vardolin::server
