// vardolin-jpeg: encodes a PGM, PPM, PAM, BMP or PNG picture into a JPEG file.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>

#include "encoder/ClsJPEG.h"
#include "tools/CommandLine.h"
#include "encoder/FileOutput.h"
#include "tools/ImageFiles.h"
#include "tools/Printable.h"

namespace {

using namespace vardolin;
using tools::Options;

// Writes beside the target and renames over it, so an existing file is only
// replaced by a complete one.
void Replace(ClsJPEG& encoder, const std::filesystem::path& target) {
    const std::filesystem::path replacement = ReplacementPath(target);
    std::filesystem::remove(replacement);  // left over from an interrupted run
    encoder.SaveFile(replacement);
    if (std::error_code error = PutReplacementInPlace(replacement, target))
        throw std::runtime_error("cannot replace " + tools::Printable(target.string()) + ": " + error.message());
}

void WriteToStandardOutput(const std::vector<uint8_t>& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw std::runtime_error(std::string("cannot write standard output: ") + std::strerror(errno));
}

int Encode(const Options& options) {
    const bool toStandardOutput = options.output == "-";
    // Checked before the picture is read, which may take a while.
    if (toStandardOutput && isatty(STDOUT_FILENO))
        throw std::runtime_error("standard output is a terminal (redirect it, or name an output file)");
    if (!toStandardOutput && !options.force && FileExists(options.output))
        throw std::runtime_error(tools::Printable(options.output) + " exists (use --force to replace it)");

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

    if (toStandardOutput) {
        WriteToStandardOutput(encoder.Encode());
        return 0;
    }
    const std::filesystem::path output = options.output;
    if (encoder.SaveFile(output) == 2) {
        if (!options.force)
            throw std::runtime_error(tools::Printable(options.output) + " exists (use --force to replace it)");
        Replace(encoder, output);
    }
    return 0;
}

int Run(const Options& options) {
    switch (options.action) {
    case Options::Action::Help: std::fputs(tools::kHelpText, stdout); return 0;
    case Options::Action::Version: std::puts("vardolin-jpeg " VARDOLIN_VERSION); return 0;
    case Options::Action::Encode: return Encode(options);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(tools::ParseCommandLine(argc, argv));
    } catch (const tools::UsageError& e) {
        std::fprintf(stderr, "vardolin-jpeg: %s\n%s", e.what(), tools::kHelpText);
        return 2;
    } catch (const ComponentError& e) {
        std::fprintf(stderr, "vardolin-jpeg: error %d: %s\n", e.number(), e.description());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "vardolin-jpeg: not enough memory for the picture\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vardolin-jpeg: %s\n", e.what());
    }
    return 1;
}
