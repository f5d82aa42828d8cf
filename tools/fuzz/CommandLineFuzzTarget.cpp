// Fuzz target over the command line of vardolin-jpeg. The first byte chooses
// the form: odd, the rest of the input is the text of --comment; even, the
// rest is split at zero bytes into arguments. Parsing gives options or a
// usage error whose message is one line; a quality taken is 1..100; a comment
// is taken exactly when it is well-formed UTF-8, and then holds the same
// characters.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/CommandLine.h"
#include "tools/fuzz/FuzzInput.h"

namespace {

using namespace vardolin;
using fuzz::Finding;

// Well-formed UTF-8 as the Unicode standard defines it (no overlong forms, no
// surrogates, nothing above U+10FFFF), decoded to UTF-16; false if it is not.
bool DecodeUtf8(std::string_view text, std::u16string& out) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = text[i];
        int length = 0;
        char32_t cp = 0, lowest = 0;
        if (lead < 0x80) length = 1, cp = lead, lowest = 0;
        else if (lead >= 0xC0 && lead < 0xE0) length = 2, cp = lead & 0x1F, lowest = 0x80;
        else if (lead >= 0xE0 && lead < 0xF0) length = 3, cp = lead & 0x0F, lowest = 0x800;
        else if (lead >= 0xF0 && lead < 0xF8) length = 4, cp = lead & 0x07, lowest = 0x10000;
        else return false;
        if (text.size() - i < size_t(length)) return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char next = text[i + k];
            if ((next & 0xC0) != 0x80) return false;
            cp = cp << 6 | (next & 0x3F);
        }
        if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i += size_t(length);
    }
    return true;
}

// Parses; returns whether the options were taken.
bool Parse(const std::vector<std::string>& arguments, tools::Options& options) {
    std::vector<const char*> argv;
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    try {
        options = tools::ParseCommandLine(int(argv.size()), argv.data());
    } catch (const tools::UsageError& e) {
        if (!fuzz::OneLine(e.what())) Finding("not a one-line usage error:", e.what());
        return false;
    }
    if (options.quality && (*options.quality < 1 || *options.quality > 100)) Finding("quality outside 1..100 taken");
    return true;
}

void Run(const uint8_t* data, size_t size) {
    if (size == 0) return;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    tools::Options options;
    if (data[0] & 1) {
        rest.resize(std::min(rest.size(), rest.find('\0')));  // an argument ends at a zero byte
        std::u16string expected;
        const bool wellFormed = DecodeUtf8(rest, expected);
        const bool taken = Parse({"vardolin-jpeg", "--comment", rest, "in", "out"}, options);
        if (taken != wellFormed) Finding(taken ? "malformed UTF-8 taken as a comment" : "well-formed UTF-8 refused");
        if (taken && options.comment != expected) Finding("the comment holds other characters");
        return;
    }
    std::vector<std::string> arguments{"vardolin-jpeg"};
    for (size_t start = 0;;) {
        const size_t end = rest.find('\0', start);
        arguments.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    Parse(arguments, options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Run(data, size);
    return 0;
}
