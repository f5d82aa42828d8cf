// The command-line encoder with every picture layout it reads: each becomes
// a JPEG file that decodes to the picture within the JPEG error (grey ones to
// a greyscale file); malformed variants give one line on stderr, exit status
// 1 and no file, also when the header claims a picture far larger than the
// input and the memory allowed.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "encoder/tests/JpegDecoder.h"
#include "tools/tests/PictureWriters.h"

namespace vardolin::tools {
namespace {

namespace fs = std::filesystem;
using test::Le;
using test::Picture;
using namespace std::string_literals;

std::string Quoted(const fs::path& path) {
    std::string quoted = "'";
    quoted += path.string();
    quoted += "' ";
    return quoted;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliFormatTest : public testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& bytes) { return folder_.Write(name, bytes); }

    struct Result {
        int status;
        std::string err;
    };
    // Runs the encoder with `arguments` (a shell fragment), with the address
    // space limited to `memoryLimitKb` when given.
    Result Run(const std::string& arguments, int memoryLimitKb = 0) {
        std::string command = Quoted(VARDOLIN_JPEG_TOOL) + arguments + " 2>" + Quoted(folder_.Path() / "err");
        if (memoryLimitKb) command = "ulimit -v " + std::to_string(memoryLimitKb) + "; " + command;
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(folder_.Path() / "err")};
    }

    test::ScratchFolder folder_{"vardolin-cli"};
};

TEST_F(CliFormatTest, EveryLayoutDecodesToThePicture) {
    for (const test::Layout& layout : test::AllLayouts()) {
        SCOPED_TRACE(layout.name);
        const Picture picture = layout.Random(61, 37);
        const fs::path in = Write(layout.name, layout.write(picture)), out = folder_.Path() / (layout.name + ".jpg");
        // Colour without subsampling, grey as the encoder chooses.
        const std::string sampling = picture.channels == 3 ? "--sampling 1,1,1,1,1,1 " : "";
        const Result result = Run("--quality 100 " + sampling + Quoted(in) + Quoted(out));
        ASSERT_EQ(result.status, 0) << result.err;
        const std::string jpeg = ReadAll(out);
        const vardolin::test::Decoded decoded = vardolin::test::DecodeJpeg({jpeg.begin(), jpeg.end()});
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.width, 61);
        EXPECT_EQ(decoded.height, 37);
        EXPECT_EQ(decoded.components, picture.channels);
        EXPECT_GT(vardolin::test::Psnr(decoded, picture.Rgb()), 40.0);
    }
}

std::string Patched(std::string bytes, size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

// A PNG whose header claims width x height, with its header's checksum right.
std::string PngClaiming(uint32_t width, uint32_t height) {
    std::string png = test::Png(test::RandomPicture(2, 2, 3, {255, 255, 255}), PNG_COLOR_TYPE_RGB, 8);
    auto be32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    png = Patched(png, 16, be32(width) + be32(height));
    const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
    return Patched(png, 29, be32(crc));
}

std::string Cut(const std::string& bytes, size_t keep) { return bytes.substr(0, keep); }

TEST_F(CliFormatTest, MalformedInputGivesOneLineAndNoFile) {
    const Picture colour = test::RandomPicture(20, 10, 3, {255, 255, 255});
    const Picture few = test::RandomPicture(20, 10, 3, {255, 255, 255}, 16);
    const std::string ppm = test::Netpbm(colour, '6', 255), bmp = test::Bmp(colour, 24, false);
    const std::string bmp8 = test::Bmp(few, 8, false), png = test::Png(colour, PNG_COLOR_TYPE_RGB, 8);
    const std::string pamHead = "P7\nWIDTH 1\nHEIGHT 1\n";
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"empty", "", "unsupported format (PPM, PGM, PAM, BMP or PNG expected)"},
        {"gif", "GIF89a\1\0\1\0"s, "unsupported format: GIF"},
        {"jpeg", "\xFF\xD8\xFF\xE0", "unsupported format: a JPEG file"},
        {"pbm", "P4\n8 1\n\xFF", "unsupported format: PBM"},
        {"ppm-no-height", "P6 12\n", "malformed PPM header"},
        {"ppm-maxval-0", "P6 1 1 0\n\0\0\0"s, "malformed PPM header: maxval 0"},
        {"ppm-maxval-70000", "P6 1 1 70000\n", "unsupported PPM: maxval 70000"},
        {"ppm-cut", Cut(ppm, ppm.size() / 2), "truncated PPM pixel data"},
        {"ppm-plain-above-maxval", "P3 1 1 255\n1 2 300\n", "sample 300 above maxval 255"},
        {"pgm-plain-letter", "P2 2 1 255\n1 x\n", "malformed PGM pixel data"},
        {"pgm-plain-short", "P2 2 2 255\n1 2  3\n", "truncated PGM pixel data"},
        {"pam-no-depth", pamHead + "MAXVAL 255\nENDHDR\n\0"s, "malformed PAM header: no DEPTH"},
        {"pam-cmyk", pamHead + "DEPTH 4\nMAXVAL 255\nTUPLTYPE CMYK\nENDHDR\n\0\0\0\0"s,
         "unsupported PAM tuple type CMYK"},
        {"pam-depth", pamHead + "DEPTH 1\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n\0"s, "DEPTH 1 does not suit RGB"},
        {"pam-unknown-key", pamHead + "COLOUR red\nENDHDR\n", "unknown keyword COLOUR"},
        {"pam-control-characters", pamHead + "\x1B[2J\nENDHDR\n", "unknown keyword \\x1B[2J"},
        {"bmp-os2", Patched(bmp, 14, Le(12, 4)), "unsupported BMP: OS/2 1.x header"},
        {"bmp-rle8", Patched(bmp8, 30, Le(1, 4)), "unsupported BMP: run-length compressed pixels"},
        {"bmp-png", Patched(bmp, 30, Le(5, 4)), "unsupported BMP: the pixels are an embedded PNG"},
        {"bmp-2-bits", Patched(bmp, 28, Le(2, 2)), "unsupported BMP: 2 bits per pixel"},
        {"bmp-fields-24", Patched(bmp, 30, Le(3, 4)), "unsupported BMP: bit fields with 24 bits per pixel"},
        {"bmp-no-red-mask", test::Bmp(colour, 16, false, {0, 0x3E0, 0x1F}), "colour masks"},
        {"bmp-cut-pixels", Cut(bmp, bmp.size() - 1), "truncated BMP pixel data"},
        {"bmp-cut-colour-table", Cut(bmp8, 60), "truncated BMP colour table"},
        {"bmp-no-width", Patched(bmp, 18, Le(0, 4)), "picture has no pixels"},
        {"png-cut", Cut(png, png.size() / 2), "truncated PNG"},
        {"png-bad-checksum", Patched(png, png.size() - 20, "\x01\x02"), "malformed PNG"},
        // Headers that claim gigabytes: refused before the memory is taken.
        {"ppm-plain-huge", "P3 16000 16000 255\n1 2 3\n", "truncated PPM pixel data"},
        {"ppm-too-large", "P6 65535 65535 255\n", "picture is too large (65535 x 65535)"},
        {"pam-huge", pamHead.substr(0, 3) + "WIDTH 16000\nHEIGHT 16000\nDEPTH 3\nMAXVAL 255\nENDHDR\n",
         "truncated PAM pixel data"},
        {"bmp-huge", Patched(Patched(bmp, 18, Le(16000, 4)), 22, Le(16000, 4)), "truncated BMP pixel data"},
        {"png-huge", PngClaiming(16000, 16000), "truncated PNG (too short for 16000 x 16000 pixels)"},
    };
#ifdef VARDOLIN_SANITIZED
    const int memoryLimitKb = 0;  // the sanitizers reserve more address space than any limit
#else
    const int memoryLimitKb = 256 * 1024;
#endif
    const fs::path out = folder_.Path() / "out.jpg";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(out);  // each case on its own
        const fs::path in = Write(c.name, c.bytes);
        const Result result = Run(Quoted(in) + Quoted(out), memoryLimitKb);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

}  // namespace
}  // namespace vardolin::tools
