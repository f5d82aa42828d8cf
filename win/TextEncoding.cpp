#include "win/TextEncoding.h"

#include <windows.h>

namespace vardolin {

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

int ToAnsiByte(char16_t c) noexcept {
    const wchar_t wide = static_cast<wchar_t>(c);
    char bytes[8];
    BOOL usedDefault = FALSE;
    // A UTF-8 ANSI code page rejects the no-best-fit flag and the default
    // character test; there only one-byte results count.
    const bool utf8 = GetACP() == CP_UTF8;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr,
                                     utf8 ? nullptr : &usedDefault);
    if (length != 1 || usedDefault) return -1;
    return static_cast<unsigned char>(bytes[0]);
}

}  // namespace vardolin
