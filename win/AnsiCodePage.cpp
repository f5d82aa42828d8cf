#include "AnsiCodePage.h"

#include <windows.h>

namespace vardolin::server {

int ToAnsiByte(char16_t c) noexcept {
    const wchar_t wide = static_cast<wchar_t>(c);
    char bytes[8];
    BOOL usedDefault = FALSE;
    // A UTF-8 ANSI code page rejects the no-best-fit flag and the default
    // character test; there only one-byte results count.
    const bool utf8 = GetACP() == CP_UTF8;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                     nullptr, utf8 ? nullptr : &usedDefault);
    if (length != 1 || usedDefault) return -1;
    return static_cast<unsigned char>(bytes[0]);
}

}  // namespace vardolin::server
