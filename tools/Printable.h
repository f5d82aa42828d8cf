// Text from the user or from a file, made fit for a one-line message: control
// characters are shown as escapes (\n, \r, \t, \x1B); everything else, any
// script included, stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace vardolin::tools {

inline std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        } else {
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return out;
}

}  // namespace vardolin::tools
