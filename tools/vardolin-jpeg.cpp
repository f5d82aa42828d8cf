// vardolin-jpeg: encodes a BMP, PPM or PGM picture into a JPEG file.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "ClsJPEG.h"
#include "ImageFiles.h"

namespace {

using namespace vardolin;

constexpr const char* kUsage =
    "usage: vardolin-jpeg IN OUT [--quality N] [--sampling h1,v1,h2,v2,h3,v3] [--comment TEXT] "
    "[--force]\n";

struct Options {
    std::string input, output;
    std::optional<int> quality;
    std::optional<std::array<int, 6>> sampling;
    std::u16string comment;
    bool force = false;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int ParseInt(std::string_view text, const char* what) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError(std::string("invalid ") + what + ": '" + std::string(text) + "'");
    return value;
}

std::array<int, 6> ParseSampling(std::string_view text) {
    std::array<int, 6> factors{};
    for (int i = 0; i < 6; ++i) {
        size_t comma = text.find(',');
        if ((i < 5) != (comma != std::string_view::npos))
            throw UsageError("--sampling needs six comma-separated factors");
        factors[i] = ParseInt(text.substr(0, comma), "sampling factor");
        text = i < 5 ? text.substr(comma + 1) : std::string_view{};
    }
    return factors;
}

// UTF-8 to UTF-16; malformed bytes are refused rather than guessed.
std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = text[i];
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size() + (extra == 0)) throw UsageError("--comment is not valid UTF-8");
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = text[i + k];
            if ((next & 0xC0) != 0x80) throw UsageError("--comment is not valid UTF-8");
            cp = (cp << 6) | (next & 0x3F);
        }
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

Options ParseArguments(int argc, char** argv) {
    Options options;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a value");
            return argv[++i];
        };
        if (arg == "--quality") {
            options.quality = ParseInt(value(), "quality");
            if (*options.quality < 1 || *options.quality > 100)
                throw UsageError("quality must be 1..100");
        } else if (arg == "--sampling") {
            options.sampling = ParseSampling(value());
        } else if (arg == "--comment") {
            options.comment = FromUtf8(value());
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + std::string(arg));
        } else {
            positional.emplace_back(arg);
        }
    }
    if (positional.size() != 2) throw UsageError("need an input and an output file");
    options.input = positional[0];
    options.output = positional[1];
    return options;
}

// Writes beside the target and renames over it, so an existing file is only
// replaced by a complete one.
void Replace(ClsJPEG& encoder, const std::filesystem::path& target) {
    std::filesystem::path temporary = target;
    temporary += ".partial";
    std::filesystem::remove(temporary);
    encoder.SaveFile(temporary);
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary);
        throw std::runtime_error("cannot replace " + target.string() + ": " + ec.message());
    }
}

int Run(const Options& options) {
    tools::ImageFile image(options.input);
    ClsJPEG encoder;
    if (options.quality) encoder.SetQuality(*options.quality);
    if (options.sampling) {
        const auto& f = *options.sampling;
        encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    } else if (image.Grey()) {
        encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    }
    encoder.SetComment(options.comment);

    if (encoder.SampleHDC(image, image.Width(), image.Height()) != 0)
        throw std::runtime_error("not enough memory for the picture");

    const std::filesystem::path output = options.output;
    if (encoder.SaveFile(output) == 2) {
        if (!options.force)
            throw std::runtime_error(options.output + " exists (use --force to replace it)");
        Replace(encoder, output);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseArguments(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "vardolin-jpeg: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const JpegError& e) {
        std::fprintf(stderr, "vardolin-jpeg: error %d: %s\n", e.code(), e.description());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vardolin-jpeg: %s\n", e.what());
    }
    return 1;
}
