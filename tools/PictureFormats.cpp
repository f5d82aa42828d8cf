#include "tools/PictureFormats.h"

#include <cstring>
#include <string>

namespace vardolin::tools {

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 28;  // 268 megapixels
constexpr int64_t kMaxSide = 65535;               // the largest a JPEG file can say

struct Signature {
    const char* bytes;
    size_t length;
    const char* name;
};
// Formats that are recognised only to say that they are not read.
constexpr Signature kOtherFormats[] = {
    {"\xFF\xD8\xFF", 3, "a JPEG file already"},
    {"GIF8", 4, "GIF"},
    {"II*\0", 4, "TIFF"},
    {"MM\0*", 4, "TIFF"},
    {"P1", 2, "PBM (bitmaps are not read)"},
    {"P4", 2, "PBM (bitmaps are not read)"},
    {"PF", 2, "PFM (floating-point samples are not read)"},
    {"Pf", 2, "PFM (floating-point samples are not read)"},
};

bool StartsWith(const uint8_t* head, size_t size, const char* bytes, size_t length) {
    return size >= length && std::memcmp(head, bytes, length) == 0;
}

}  // namespace

void CheckPictureSize(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) Fail("picture has no pixels");
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        Fail("picture is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
}

void SetPackedRows(RowLayout& rows, uint64_t inputSize, const char* format) {
    rows.rowBytes = (uint64_t(rows.width) * rows.pixels.PixelBits() + 7) / 8;
    if (rows.pixelOffset > inputSize || (inputSize - rows.pixelOffset) / rows.rowBytes < uint64_t(rows.height))
        Fail(std::string("truncated ") + format + " pixel data");
}

RowLayout DecodedLayout(int32_t width, int32_t height, bool grey) {
    RowLayout rows;
    rows.width = width;
    rows.height = height;
    rows.grey = grey;
    rows.pixels.kind = PixelKind::Samples;
    rows.pixels.channels = grey ? 1 : 3;
    rows.rowBytes = uint64_t(width) * rows.pixels.channels;
    return rows;
}

PictureLayout ReadPictureLayout(PictureBytes& bytes) {
    uint8_t head[8] = {};
    const size_t size = size_t(std::min<uint64_t>(bytes.Size(), sizeof head));
    bytes.Read(0, head, size);
    if (StartsWith(head, size, "BM", 2)) return ReadBmp(bytes);
    if (StartsWith(head, size, "\x89PNG\r\n\x1A\n", 8)) return ReadPng(bytes);
    if (size >= 2 && head[0] == 'P' && std::strchr("23567", head[1]) && head[1]) return ReadNetpbm(bytes);
    for (const Signature& other : kOtherFormats)
        if (StartsWith(head, size, other.bytes, other.length)) Fail(std::string("unsupported format: ") + other.name);
    Fail("unsupported format (PPM, PGM, PAM, BMP or PNG expected)");
}

}  // namespace vardolin::tools
