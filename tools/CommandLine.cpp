#include "tools/CommandLine.h"

#include <charconv>
#include <string_view>
#include <vector>

#include "tools/Printable.h"

namespace vardolin::tools {

const char* const kHelpText =
    "Usage: vardolin-jpeg [OPTION]... IN OUT\n"
    "Encodes the picture IN as the baseline JPEG file OUT.\n"
    "\n"
    "IN is a PGM, PPM or PAM file (binary or plain, maxval 1..65535), a BMP\n"
    "(1, 4, 8, 16, 24 or 32 bits per pixel) or a PNG (alpha is ignored);\n"
    "- reads standard input. OUT - writes standard output. Grey pictures\n"
    "become greyscale JPEG files unless --sampling says otherwise.\n"
    "\n"
    "Options:\n"
    "  --quality N            quality 1..100 (default 75)\n"
    "  --sampling H1,V1,H2,V2,H3,V3\n"
    "                         sampling factors of Y, Cb and Cr, each 1..4\n"
    "                         (default 2,2,1,1,1,1; 1,1,0,0,0,0 writes greyscale)\n"
    "  --comment TEXT         a comment stored in the file (Latin-1 characters)\n"
    "  --force                replace an existing OUT, only by a complete file\n"
    "  -h, --help             print this help and exit\n"
    "  --version              print the version and exit\n"
    "\n"
    "An option's value may also follow an equals sign (--quality=90);\n"
    "-- ends the options.\n"
    "Exit status: 0 written, 1 not written (the reason is printed), 2 wrong usage.\n";

namespace {

int ParseInt(std::string_view text, const char* what) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError(std::string("invalid ") + what + ": '" + Printable(text) + "'");
    return value;
}

std::array<int, 6> ParseSampling(std::string_view text) {
    std::array<int, 6> factors{};
    for (int i = 0; i < 6; ++i) {
        const size_t comma = text.find(',');
        if ((i < 5) != (comma != std::string_view::npos))
            throw UsageError("--sampling needs six comma-separated factors");
        factors[i] = ParseInt(text.substr(0, comma), "sampling factor");
        text = i < 5 ? text.substr(comma + 1) : std::string_view{};
    }
    return factors;
}

// UTF-8 to UTF-16; malformed bytes are refused rather than guessed: cut or
// overlong sequences, surrogates and values above U+10FFFF.
std::u16string FromUtf8(std::string_view text) {
    static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};  // by the count of extra bytes
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = text[i];
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size() + (extra == 0)) throw UsageError("--comment is not valid UTF-8");
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = text[i + k];
            if ((next & 0xC0) != 0x80) throw UsageError("--comment is not valid UTF-8");
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            throw UsageError("--comment is not valid UTF-8");
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

}  // namespace

Options ParseCommandLine(int argc, const char* const* argv) {
    Options options;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // "-" alone names standard input or output.
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        std::optional<std::string_view> attached;
        if (equals != std::string_view::npos) attached = arg.substr(equals + 1);
        auto value = [&]() -> std::string_view {
            if (attached) return *attached;
            if (i + 1 >= argc) throw UsageError(Printable(name) + " needs a value");
            return argv[++i];
        };
        auto noValue = [&] {
            if (attached) throw UsageError(Printable(name) + " takes no value");
        };
        if (name == "--quality") {
            options.quality = ParseInt(value(), "quality");
            if (*options.quality < 1 || *options.quality > 100) throw UsageError("quality must be 1..100");
        } else if (name == "--sampling") {
            options.sampling = ParseSampling(value());
        } else if (name == "--comment") {
            options.comment = FromUtf8(value());
        } else if (name == "--force") {
            noValue();
            options.force = true;
        } else if (name == "-h" || name == "--help") {
            noValue();
            options.action = Options::Action::Help;
        } else if (name == "--version") {
            noValue();
            options.action = Options::Action::Version;
        } else {
            throw UsageError("unknown option " + Printable(arg));
        }
    }
    if (options.action != Options::Action::Encode) return options;
    if (files.size() != 2) throw UsageError("need an input and an output file");
    options.input = files[0];
    options.output = files[1];
    return options;
}

}  // namespace vardolin::tools
