#include "ImageFiles.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

namespace vardolin::tools {

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 28;  // 268 megapixels

[[noreturn]] void Fail(const std::string& why) { throw ImageFileError(why); }

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    if (at + 4 > b.size()) Fail("truncated BMP header");
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    if (at + 2 > b.size()) Fail("truncated BMP header");
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

void CheckSize(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) Fail("picture has no pixels");
    if (width > 65535 || height > 65535 || width * height > kMaxPixels)
        Fail("picture is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
}

Image ReadBmp(const std::vector<uint8_t>& file) {
    const uint32_t pixelOffset = Le32(file, 10);
    const uint32_t headerSize = Le32(file, 14);
    if (headerSize < 40) Fail("unsupported BMP header (OS/2 bitmaps are not supported)");
    const int32_t width = static_cast<int32_t>(Le32(file, 18));
    const int32_t rawHeight = static_cast<int32_t>(Le32(file, 22));
    const uint16_t bitCount = Le16(file, 28);
    const uint32_t compression = Le32(file, 30);
    if (bitCount != 24 && bitCount != 32)
        Fail("unsupported BMP: " + std::to_string(bitCount) + " bits per pixel (24 or 32 needed)");
    if (compression != 0 && !(compression == 3 && bitCount == 32))
        Fail("unsupported BMP: compressed pixels");
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t(rawHeight) : rawHeight;
    CheckSize(width, height);

    const size_t bytesPerPixel = bitCount / 8;
    const size_t stride = (size_t(width) * bytesPerPixel + 3) & ~size_t(3);
    if (pixelOffset + stride * size_t(height) > file.size()) Fail("truncated BMP pixel data");

    Image image{width, static_cast<int32_t>(height), false, {}};
    image.rgb.resize(size_t(width) * size_t(height) * 3);
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* line = &file[pixelOffset + stride * size_t(topDown ? y : height - 1 - y)];
        uint8_t* out = &image.rgb[size_t(y) * width * 3];
        for (int32_t x = 0; x < width; ++x, line += bytesPerPixel, out += 3)
            out[0] = line[2], out[1] = line[1], out[2] = line[0];
    }
    return image;
}

// Reads the next header number of a PPM/PGM file, skipping blanks and comments.
int64_t NetpbmNumber(const std::vector<uint8_t>& file, size_t& at) {
    while (at < file.size()) {
        if (file[at] == '#') {
            while (at < file.size() && file[at] != '\n') ++at;
        } else if (std::isspace(file[at])) {
            ++at;
        } else {
            break;
        }
    }
    if (at >= file.size() || !std::isdigit(file[at])) Fail("malformed PPM/PGM header");
    int64_t value = 0;
    while (at < file.size() && std::isdigit(file[at]) && value < (int64_t{1} << 40))
        value = value * 10 + (file[at++] - '0');
    return value;
}

Image ReadNetpbm(const std::vector<uint8_t>& file) {
    const bool grey = file[1] == '5';
    size_t at = 2;
    const int64_t width = NetpbmNumber(file, at);
    const int64_t height = NetpbmNumber(file, at);
    const int64_t maxValue = NetpbmNumber(file, at);
    if (at >= file.size() || !std::isspace(file[at])) Fail("malformed PPM/PGM header");
    ++at;
    CheckSize(width, height);
    if (maxValue < 1 || maxValue > 255) Fail("unsupported PPM/PGM: only 8-bit samples are read");

    const size_t channels = grey ? 1 : 3;
    const size_t needed = size_t(width) * size_t(height) * channels;
    if (file.size() - at < needed) Fail("truncated PPM/PGM pixel data");
    Image image{static_cast<int32_t>(width), static_cast<int32_t>(height), grey, {}};
    image.rgb.resize(size_t(width) * size_t(height) * 3);
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i)
        for (size_t c = 0; c < 3; ++c) {
            int v = file[at + i * channels + (grey ? 0 : c)];
            image.rgb[i * 3 + c] = static_cast<uint8_t>(maxValue == 255 ? v : (v * 255 + maxValue / 2) / maxValue);
        }
    return image;
}

}  // namespace

Image ReadImage(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot open " + path.string());
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) Fail("cannot read " + path.string());
    if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') return ReadBmp(file);
    if (file.size() >= 2 && file[0] == 'P' && (file[1] == '5' || file[1] == '6')) return ReadNetpbm(file);
    Fail("unsupported format (BMP, binary PPM or PGM expected)");
}

}  // namespace vardolin::tools
