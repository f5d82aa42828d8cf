#include "tools/tests/PictureWriters.h"

#include <png.h>

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <map>
#include <random>

namespace vardolin::tools::test {

std::array<uint8_t, 3> Picture::Bgr(int x, int y) const {
    auto scaled = [&](int c) {
        const int max = maxValues[c];
        return uint8_t((uint32_t(At(x, y)[c]) * 255 + max / 2) / max);
    };
    if (channels == 1) return {scaled(0), scaled(0), scaled(0)};
    return {scaled(2), scaled(1), scaled(0)};
}

std::vector<uint8_t> Picture::Rgb() const {
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto bgr = Bgr(x, y);
            rgb.insert(rgb.end(), {bgr[2], bgr[1], bgr[0]});
        }
    return rgb;
}

Picture RandomPicture(int width, int height, int channels, std::array<int, 3> maxValues, int colours) {
    std::mt19937 random(uint32_t(width * 31 + height * 7 + channels + colours));
    Picture p{width, height, channels, maxValues, {}};
    std::vector<uint16_t> table(size_t(colours) * channels);
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint16_t(random() % (maxValues[i % channels] + 1));
    for (int i = 0; i < width * height; ++i) {
        const size_t colour = colours ? random() % colours : 0;
        for (int c = 0; c < channels; ++c)
            p.samples.push_back(colours ? table[colour * channels + c] : uint16_t(random() % (maxValues[c] + 1)));
    }
    return p;
}

ScratchFolder::ScratchFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path_); }

std::filesystem::path ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
    return path_ / name;
}

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

namespace {

std::string Be16(uint16_t value) { return {char(value >> 8), char(value & 0xFF)}; }

// The distinct colours of a picture in order of appearance, and each pixel's index.
struct Indexed {
    std::vector<std::array<uint8_t, 3>> colours;  // red, green, blue
    std::vector<uint8_t> indices;
};

Indexed ToIndexed(const Picture& p) {
    Indexed out;
    std::map<std::array<uint8_t, 3>, uint8_t> seen;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const auto bgr = p.Bgr(x, y);
            const std::array<uint8_t, 3> rgb{bgr[2], bgr[1], bgr[0]};
            auto [at, added] = seen.emplace(rgb, uint8_t(out.colours.size()));
            if (added) out.colours.push_back(rgb);
            out.indices.push_back(at->second);
        }
    return out;
}

// Packs values of `bits` bits, the first in the most significant bits.
std::string Pack(const std::vector<uint8_t>& values, int bits) {
    std::string out((values.size() * bits + 7) / 8, '\0');
    for (size_t i = 0; i < values.size(); ++i)
        out[i * bits / 8] = char(out[i * bits / 8] | values[i] << (8 - bits - i * bits % 8));
    return out;
}

std::string Pam(const Picture& p, const std::string& type, bool alpha) {
    const int depth = p.channels + (alpha ? 1 : 0), maxValue = p.maxValues[0];
    std::string out = "P7\n# written by a test\nWIDTH " + std::to_string(p.width) + "\nHEIGHT " +
                      std::to_string(p.height) + "\nDEPTH " + std::to_string(depth) + "\nMAXVAL " +
                      std::to_string(maxValue) + "\nTUPLTYPE " + type + "\nENDHDR\n";
    for (int i = 0; i < p.width * p.height; ++i)
        for (int c = 0; c < depth; ++c) {
            const uint16_t v = c < p.channels ? p.samples[size_t(i) * p.channels + c] : uint16_t(i % (maxValue + 1));
            out += maxValue > 255 ? Be16(v) : std::string(1, char(v));
        }
    return out;
}

void AppendToString(png_structp png, png_bytep data, size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

}  // namespace

std::string Netpbm(const Picture& p, char kind, int maxValue) {
    const bool plain = kind == '2' || kind == '3';
    std::string out = std::string("P") + kind + "\n# a comment\n" + std::to_string(p.width) + " # width\n" +
                      std::to_string(p.height) + "\n#height above\n" + std::to_string(maxValue) + "\n";
    for (size_t i = 0; i < p.samples.size(); ++i) {
        if (plain) out += std::to_string(p.samples[i]) + (i % 17 == 16 ? "\n" : " ");
        else out += maxValue > 255 ? Be16(p.samples[i]) : std::string(1, char(p.samples[i]));
    }
    return out;
}

std::string Bmp(const Picture& p, int bits, bool topDown, std::array<uint32_t, 3> masks, int infoSize) {
    const bool fields = masks != std::array<uint32_t, 3>{};
    const int stride = (p.width * bits + 31) / 32 * 4;
    Indexed indexed;
    if (bits <= 8) indexed = ToIndexed(p);
    std::string pixels;
    for (int line = 0; line < p.height; ++line) {
        const int y = topDown ? line : p.height - 1 - line;
        std::string row;
        if (bits <= 8) {
            row = Pack(std::vector<uint8_t>(indexed.indices.begin() + ptrdiff_t(y) * p.width,
                                            indexed.indices.begin() + ptrdiff_t(y + 1) * p.width),
                       bits);
        } else {
            for (int x = 0; x < p.width; ++x) {
                const uint16_t* s = p.At(x, y);
                if (bits == 24 || (bits == 32 && !fields)) {
                    row += {char(s[2]), char(s[1]), char(s[0])};
                    if (bits == 32) row += '\x7F';  // unused
                    continue;
                }
                const std::array<uint32_t, 3> m = fields ? masks : std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F};
                uint32_t word = 0;
                for (int c = 0; c < 3; ++c)
                    if (m[c]) word |= uint32_t(s[c]) << std::countr_zero(m[c]);
                row += Le(word, bits / 8);
            }
        }
        row.resize(size_t(stride), '\x55');  // padding, ignored
        pixels += row;
    }
    std::string palette;
    for (const auto& rgb : indexed.colours) palette += {char(rgb[2]), char(rgb[1]), char(rgb[0]), '\0'};
    std::string info = Le(uint32_t(infoSize), 4) + Le(uint32_t(p.width), 4) +
                       Le(topDown ? uint32_t(-p.height) : uint32_t(p.height), 4) + Le(1, 2) + Le(uint32_t(bits), 2) +
                       Le(fields ? 3 : 0, 4) + Le(uint32_t(pixels.size()), 4) + Le(2835, 4) + Le(2835, 4) +
                       Le(uint32_t(indexed.colours.size()), 4) + Le(0, 4);
    if (fields) info += Le(masks[0], 4) + Le(masks[1], 4) + Le(masks[2], 4);
    info.resize(std::max<size_t>(info.size(), size_t(infoSize)), '\0');
    const uint32_t offset = uint32_t(14 + info.size() + palette.size());
    return "BM" + Le(uint32_t(offset + pixels.size()), 4) + Le(0, 4) + Le(offset, 4) + info + palette + pixels;
}

std::string Png(const Picture& p, int colourType, int bitDepth, bool interlaced) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    // Without a jump target, an error of libpng aborts the test.
    png_set_write_fn(png, &out, AppendToString, nullptr);
    png_set_IHDR(png, info, uint32_t(p.width), uint32_t(p.height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    const bool palette = colourType == PNG_COLOR_TYPE_PALETTE;
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
    Indexed indexed;
    if (palette) {
        indexed = ToIndexed(p);
        std::vector<png_color> entries;
        for (const auto& rgb : indexed.colours) entries.push_back({rgb[0], rgb[1], rgb[2]});
        png_set_PLTE(png, info, entries.data(), int(entries.size()));
        std::vector<png_byte> transparency(entries.size(), 0);  // fully transparent, which is ignored
        png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    }
    std::vector<std::string> rows(size_t(p.height));
    for (int y = 0; y < p.height; ++y) {
        if (palette || bitDepth < 8) {
            std::vector<uint8_t> values;
            for (int x = 0; x < p.width; ++x)
                values.push_back(palette ? indexed.indices[size_t(y) * p.width + x] : uint8_t(p.At(x, y)[0]));
            rows[y] = Pack(values, bitDepth);
            continue;
        }
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < p.channels + (alpha ? 1 : 0); ++c) {
                const uint16_t v = c < p.channels ? p.At(x, y)[c] : uint16_t(x * 37 % 256);
                rows[y] += bitDepth == 16 ? Be16(v) : std::string(1, char(v));
            }
    }
    std::vector<png_bytep> pointers;
    for (std::string& row : rows) pointers.push_back(reinterpret_cast<png_bytep>(row.data()));
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

const std::vector<Layout>& AllLayouts() {
    using A = std::array<int, 3>;
    using M = std::array<uint32_t, 3>;
    static const std::vector<Layout> layouts = {
        {"ppm-binary-8", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Netpbm(p, '6', 255); }},
        {"ppm-binary-100", 3, A{100, 100, 100}, 0, [](const Picture& p) { return Netpbm(p, '6', 100); }},
        {"ppm-binary-16", 3, A{65535, 65535, 65535}, 0, [](const Picture& p) { return Netpbm(p, '6', 65535); }},
        {"ppm-binary-1000", 3, A{1000, 1000, 1000}, 0, [](const Picture& p) { return Netpbm(p, '6', 1000); }},
        {"pgm-binary-8", 1, A{255}, 0, [](const Picture& p) { return Netpbm(p, '5', 255); }},
        {"pgm-binary-63", 1, A{63}, 0, [](const Picture& p) { return Netpbm(p, '5', 63); }},
        {"pgm-binary-16", 1, A{65535}, 0, [](const Picture& p) { return Netpbm(p, '5', 65535); }},
        {"ppm-plain-8", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Netpbm(p, '3', 255); }},
        {"ppm-plain-4095", 3, A{4095, 4095, 4095}, 0, [](const Picture& p) { return Netpbm(p, '3', 4095); }},
        {"pgm-plain-8", 1, A{255}, 0, [](const Picture& p) { return Netpbm(p, '2', 255); }},
        {"pgm-plain-16", 1, A{65535}, 0, [](const Picture& p) { return Netpbm(p, '2', 65535); }},
        {"pam-grey", 1, A{255}, 0, [](const Picture& p) { return Pam(p, "GRAYSCALE", false); }},
        {"pam-grey-alpha-16", 1, A{65535}, 0, [](const Picture& p) { return Pam(p, "GRAYSCALE_ALPHA", true); }},
        {"pam-rgb", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Pam(p, "RGB", false); }},
        {"pam-rgb-1023", 3, A{1023, 1023, 1023}, 0, [](const Picture& p) { return Pam(p, "RGB", false); }},
        {"pam-rgb-alpha", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Pam(p, "RGB_ALPHA", true); }},
        {"bmp-1", 3, A{255, 255, 255}, 2, [](const Picture& p) { return Bmp(p, 1, false); }},
        {"bmp-4", 3, A{255, 255, 255}, 16, [](const Picture& p) { return Bmp(p, 4, false); }},
        {"bmp-8", 3, A{255, 255, 255}, 200, [](const Picture& p) { return Bmp(p, 8, false); }},
        {"bmp-8-top-down", 3, A{255, 255, 255}, 256, [](const Picture& p) { return Bmp(p, 8, true); }},
        {"bmp-16-555", 3, A{31, 31, 31}, 0, [](const Picture& p) { return Bmp(p, 16, false); }},
        {"bmp-16-565-top-down", 3, A{31, 63, 31}, 0,
         [](const Picture& p) {
             return Bmp(p, 16, true, M{0xF800, 0x07E0, 0x001F});
         }},
        {"bmp-24", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Bmp(p, 24, false); }},
        {"bmp-24-top-down", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Bmp(p, 24, true); }},
        {"bmp-32", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Bmp(p, 32, false); }},
        {"bmp-32-top-down", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Bmp(p, 32, true); }},
        {"bmp-32-fields-bgr-v5", 3, A{255, 255, 255}, 0,
         [](const Picture& p) {
             return Bmp(p, 32, false, M{0xFF0000, 0xFF00, 0xFF}, 124);
         }},
        {"bmp-32-fields-rgb", 3, A{255, 255, 255}, 0,
         [](const Picture& p) {
             return Bmp(p, 32, false, M{0xFF, 0xFF00, 0xFF0000});
         }},
        {"bmp-32-fields-10-bit", 3, A{1023, 1023, 1023}, 0,
         [](const Picture& p) {
             return Bmp(p, 32, true, M{0x3FF00000, 0xFFC00, 0x3FF});
         }},
        {"png-rgb-8", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_RGB, 8); }},
        {"png-rgb-16", 3, A{65535, 65535, 65535}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_RGB, 16); }},
        {"png-rgb-8-interlaced", 3, A{255, 255, 255}, 0,
         [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_RGB, 8, true); }},
        {"png-rgba-8", 3, A{255, 255, 255}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_RGBA, 8); }},
        {"png-grey-1", 1, A{1}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_GRAY, 1); }},
        {"png-grey-4", 1, A{15}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_GRAY, 4); }},
        {"png-grey-8", 1, A{255}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_GRAY, 8); }},
        {"png-grey-alpha-16", 1, A{65535}, 0, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_GRAY_ALPHA, 16); }},
        {"png-palette-2", 3, A{255, 255, 255}, 4, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_PALETTE, 2); }},
        {"png-palette-8", 3, A{255, 255, 255}, 256, [](const Picture& p) { return Png(p, PNG_COLOR_TYPE_PALETTE, 8); }},
    };
    return layouts;
}

}  // namespace vardolin::tools::test
