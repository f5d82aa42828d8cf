// Windows bitmaps: 1-, 4- and 8-bit colour tables, 16 bits (5-5-5, or any
// bit fields such as 5-6-5), 24 bits, 32 bits with or without bit fields;
// bottom-up or top-down. Every layout is read in place.
#include <algorithm>
#include <bit>
#include <string>

#include "tools/PictureFormats.h"

namespace vardolin::tools {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;  // the fields read; later header versions only add to them

enum Compression : uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6
};

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void CheckCompression(uint32_t compression, int bits) {
    switch (compression) {
    case kRgb: return;
    case kRle8:
    case kRle4: Fail("unsupported BMP: run-length compressed pixels");
    case kJpeg: Fail("unsupported BMP: the pixels are an embedded JPEG");
    case kPng: Fail("unsupported BMP: the pixels are an embedded PNG");
    case kBitFields:
    case kAlphaBitFields:
        if (bits == 16 || bits == 32) return;
        Fail("unsupported BMP: bit fields with " + std::to_string(bits) + " bits per pixel");
    default: Fail("unsupported BMP: compression " + std::to_string(compression));
    }
}

// Red, green and blue masks: each a run of set bits inside the pixel.
PixelFormat BitFieldPixels(PictureBytes& bytes, int bits) {
    uint8_t stored[12];
    bytes.Read(kFileHeader + kInfoHeader, stored, sizeof stored);
    PixelFormat pixels;
    pixels.kind = PixelKind::BitFields;
    pixels.bytesPerPixel = bits / 8;
    const uint64_t inside = (uint64_t{1} << bits) - 1;
    for (int c = 0; c < 3; ++c) {
        const uint32_t mask = Le32(stored + 4 * c);
        const uint32_t run = mask ? mask >> std::countr_zero(mask) : 0;
        if (mask == 0 || mask > inside || (run & (run + 1)) != 0)
            Fail("malformed BMP: the colour masks must be runs of bits inside the pixel");
        pixels.masks[c] = mask;
    }
    if (bits == 32 && pixels.masks == std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF}) {
        pixels.kind = PixelKind::Bgr;  // the usual order: read as plain bytes
    }
    return pixels;
}

PixelFormat PalettePixels(PictureBytes& bytes, int bits, uint32_t infoSize, uint32_t coloursUsed) {
    const uint32_t most = 1u << bits;
    const uint32_t entries = coloursUsed == 0 ? most : std::min(coloursUsed, most);
    std::vector<uint8_t> stored(size_t(entries) * 4);  // blue, green, red, unused
    const uint64_t at = kFileHeader + uint64_t(infoSize);
    if (at + stored.size() > bytes.Size()) Fail("truncated BMP colour table");
    bytes.Read(at, stored.data(), stored.size());
    PixelFormat pixels;
    pixels.kind = PixelKind::Palette;
    pixels.bitsPerPixel = bits;
    for (uint32_t i = 0; i < entries; ++i)
        pixels.palette.push_back({stored[4 * i], stored[4 * i + 1], stored[4 * i + 2]});
    return pixels;
}

PixelFormat Pixels(PictureBytes& bytes, int bits, uint32_t compression, uint32_t infoSize, uint32_t coloursUsed) {
    CheckCompression(compression, bits);
    if (compression == kBitFields || compression == kAlphaBitFields) return BitFieldPixels(bytes, bits);
    PixelFormat pixels;
    switch (bits) {
    case 1:
    case 4:
    case 8: return PalettePixels(bytes, bits, infoSize, coloursUsed);
    case 16:
        pixels.kind = PixelKind::BitFields;  // 5-5-5 unless masks say otherwise
        pixels.bytesPerPixel = 2;
        pixels.masks = {0x7C00, 0x03E0, 0x001F};
        return pixels;
    case 24:
    case 32:
        pixels.kind = PixelKind::Bgr;
        pixels.bytesPerPixel = bits / 8;
        return pixels;
    default: Fail("unsupported BMP: " + std::to_string(bits) + " bits per pixel");
    }
}

}  // namespace

PictureLayout ReadBmp(PictureBytes& bytes) {
    uint8_t header[kFileHeader + kInfoHeader];
    if (bytes.Size() < kFileHeader + 4) Fail("truncated BMP header");
    bytes.Read(0, header, kFileHeader + 4);
    const uint32_t infoSize = Le32(header + kFileHeader);
    if (infoSize == 12) Fail("unsupported BMP: OS/2 1.x header");
    if (infoSize == 16 || infoSize == 64) Fail("unsupported BMP: OS/2 2.x header");
    if (infoSize < kInfoHeader) Fail("malformed BMP header");
    if (bytes.Size() < kFileHeader + uint64_t(infoSize)) Fail("truncated BMP header");
    bytes.Read(0, header, sizeof header);

    const uint32_t pixelOffset = Le32(header + 10);
    const int32_t width = int32_t(Le32(header + 18));
    const int32_t storedHeight = int32_t(Le32(header + 22));
    const int bits = Le16(header + 28);
    const uint32_t compression = Le32(header + 30);
    const uint32_t coloursUsed = Le32(header + 46);
    const int64_t height = storedHeight < 0 ? -int64_t(storedHeight) : storedHeight;

    PixelFormat pixels = Pixels(bytes, bits, compression, infoSize, coloursUsed);
    CheckPictureSize(width, height);
    PictureLayout picture;
    RowLayout& rows = picture.rows;
    rows.width = width;
    rows.height = int32_t(height);
    rows.bottomUp = storedHeight > 0;
    rows.pixelOffset = pixelOffset;
    rows.rowBytes = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
    rows.pixels = std::move(pixels);
    if (rows.pixelOffset + rows.rowBytes * uint64_t(height) > bytes.Size()) Fail("truncated BMP pixel data");
    return picture;
}

}  // namespace vardolin::tools
