#include "ImageFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "PixelCopy.h"

namespace vardolin::tools {

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 28;  // 268 megapixels
constexpr size_t kHeaderBytes = 64 * 1024;       // a header must fit in this much
constexpr uint64_t kBandBytes = 256 * 1024;       // rows read at a time, at least

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

RowFormat BmpFormat(const std::vector<uint8_t>& header, uint64_t fileSize) {
    const uint32_t pixelOffset = Le32(header, 10);
    const uint32_t headerSize = Le32(header, 14);
    if (headerSize < 40) Fail("unsupported BMP header (OS/2 bitmaps are not supported)");
    const int32_t width = static_cast<int32_t>(Le32(header, 18));
    const int32_t rawHeight = static_cast<int32_t>(Le32(header, 22));
    const uint16_t bitCount = Le16(header, 28);
    const uint32_t compression = Le32(header, 30);
    if (bitCount != 24 && bitCount != 32)
        Fail("unsupported BMP: " + std::to_string(bitCount) + " bits per pixel (24 or 32 needed)");
    if (compression != 0 && !(compression == 3 && bitCount == 32))
        Fail("unsupported BMP: compressed pixels");
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t(rawHeight) : rawHeight;
    CheckSize(width, height);

    RowFormat format;
    format.width = width;
    format.height = static_cast<int32_t>(height);
    format.layout = bitCount == 24 ? PixelLayout::Bgr : PixelLayout::Bgrx;
    format.bottomUp = !topDown;
    format.pixelOffset = pixelOffset;
    format.rowBytes = (uint64_t(width) * (bitCount / 8) + 3) & ~uint64_t(3);
    if (pixelOffset + format.rowBytes * uint64_t(height) > fileSize) Fail("truncated BMP pixel data");
    return format;
}

// Reads the next header number of a PPM/PGM file, skipping blanks and comments.
int64_t NetpbmNumber(const std::vector<uint8_t>& header, size_t& at) {
    while (at < header.size()) {
        if (header[at] == '#') {
            while (at < header.size() && header[at] != '\n') ++at;
        } else if (std::isspace(header[at])) {
            ++at;
        } else {
            break;
        }
    }
    if (at >= header.size() || !std::isdigit(header[at])) Fail("malformed PPM/PGM header");
    int64_t value = 0;
    while (at < header.size() && std::isdigit(header[at]) && value < (int64_t{1} << 40))
        value = value * 10 + (header[at++] - '0');
    return value;
}

RowFormat NetpbmFormat(const std::vector<uint8_t>& header, uint64_t fileSize) {
    const bool grey = header[1] == '5';
    size_t at = 2;
    const int64_t width = NetpbmNumber(header, at);
    const int64_t height = NetpbmNumber(header, at);
    const int64_t maxValue = NetpbmNumber(header, at);
    if (at >= header.size() || !std::isspace(header[at])) Fail("malformed PPM/PGM header");
    ++at;
    CheckSize(width, height);
    if (maxValue < 1 || maxValue > 255) Fail("unsupported PPM/PGM: only 8-bit samples are read");

    RowFormat format;
    format.width = static_cast<int32_t>(width);
    format.height = static_cast<int32_t>(height);
    format.layout = grey ? PixelLayout::Grey : PixelLayout::Rgb;
    format.maxValue = static_cast<int32_t>(maxValue);
    format.pixelOffset = at;
    format.rowBytes = uint64_t(width) * (grey ? 1 : 3);
    if (fileSize - at < format.rowBytes * uint64_t(height)) Fail("truncated PPM/PGM pixel data");
    return format;
}

// count pixels of a file row in its layout, as blue, green, red.
void ConvertPixels(PixelLayout layout, const uint8_t* in, int32_t count, uint8_t* bgr) {
    switch (layout) {
    case PixelLayout::Rgb: CopySwappingRedAndBlue(in, bgr, size_t(count)); break;
    case PixelLayout::Bgr: std::memcpy(bgr, in, size_t(count) * 3); break;
    case PixelLayout::Bgrx:
        for (int32_t x = 0; x < count; ++x, in += 4, bgr += 3) bgr[0] = in[0], bgr[1] = in[1], bgr[2] = in[2];
        break;
    case PixelLayout::Grey:
        for (int32_t x = 0; x < count; ++x, bgr += 3) bgr[0] = bgr[1] = bgr[2] = in[x];
        break;
    }
}

size_t BytesPerPixel(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::Grey: return 1;
    case PixelLayout::Bgrx: return 4;
    default: return 3;
    }
}

}  // namespace

ImageFile::ImageFile(const std::filesystem::path& path) : path_(path) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) Fail("cannot open " + path.string());
    try {
        struct stat status {};
        if (fstat(descriptor_, &status) != 0) Fail("cannot read " + path.string());
        if (S_ISREG(status.st_mode)) {
            fileSize_ = uint64_t(status.st_size);
            posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
        } else {
            // A pipe or device cannot be read at an offset: it is read whole.
            uint8_t chunk[65536];
            for (ssize_t got; (got = ::read(descriptor_, chunk, sizeof chunk)) != 0;) {
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) Fail("cannot read " + path.string());
                whole_.insert(whole_.end(), chunk, chunk + got);
            }
            fileSize_ = whole_.size();
        }
        std::vector<uint8_t> header(std::min<uint64_t>(fileSize_, kHeaderBytes));
        ReadAt(0, header.data(), header.size());
        if (header.size() >= 2 && header[0] == 'B' && header[1] == 'M')
            format_ = BmpFormat(header, fileSize_);
        else if (header.size() >= 2 && header[0] == 'P' && (header[1] == '5' || header[1] == '6'))
            format_ = NetpbmFormat(header, fileSize_);
        else
            Fail("unsupported format (BMP, binary PPM or PGM expected)");
    } catch (...) {
        ::close(descriptor_);
        throw;
    }
    if (format_.maxValue != 255) {
        scale_.resize(256);
        for (int v = 0; v < 256; ++v)
            scale_[v] = static_cast<uint8_t>((v * 255 + format_.maxValue / 2) / format_.maxValue);
    }
}

ImageFile::~ImageFile() { ::close(descriptor_); }

void ImageFile::ReadAt(uint64_t offset, uint8_t* into, size_t bytes) const {
    if (!whole_.empty() || fileSize_ == 0) {
        if (offset > whole_.size() || whole_.size() - offset < bytes) Fail("truncated " + path_.string());
        std::memcpy(into, whole_.data() + offset, bytes);
        return;
    }
    while (bytes > 0) {
        const ssize_t got = ::pread(descriptor_, into, bytes, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Fail("cannot read " + path_.string());
        if (got == 0) Fail("truncated " + path_.string() + " (the file became shorter)");
        into += got, offset += uint64_t(got), bytes -= size_t(got);
    }
}

// Rows are read in bands in the direction the picture is drawn, top to
// bottom, which is backwards through a bottom-up file.
void ImageFile::ReadBand(int64_t firstFileRow, int64_t rows) {
    band_.resize(size_t(rows * int64_t(format_.rowBytes)));
    ReadAt(format_.pixelOffset + uint64_t(firstFileRow) * format_.rowBytes, band_.data(), band_.size());
    bandFirst_ = firstFileRow;
    bandRows_ = rows;
}

const uint8_t* ImageFile::FileRow(int32_t y) {
    const int64_t fileRow = format_.bottomUp ? int64_t(format_.height) - 1 - y : y;
    if (fileRow < bandFirst_ || fileRow >= bandFirst_ + bandRows_) {
        const int64_t rows = std::max<int64_t>(8, int64_t(kBandBytes / format_.rowBytes));
        const int64_t first = format_.bottomUp ? std::max<int64_t>(0, fileRow - rows + 1) : fileRow;
        ReadBand(first, std::min<int64_t>(rows, int64_t(format_.height) - first));
    }
    return &band_[size_t(fileRow - bandFirst_) * format_.rowBytes];
}

void ImageFile::ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) {
    const uint8_t* row = FileRow(y) + size_t(left) * BytesPerPixel(format_.layout);
    ConvertPixels(format_.layout, row, count, bgr);
    if (!scale_.empty())
        for (size_t i = 0; i < size_t(count) * 3; ++i) bgr[i] = scale_[bgr[i]];
}

}  // namespace vardolin::tools
