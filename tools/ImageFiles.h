// Reading the picture formats the command-line encoder accepts: BMP (24 and
// 32 bits, uncompressed), binary PPM (P6) and PGM (P5). Opening a file reads
// and checks its header; the pixel rows are read from the file only when the
// encoder draws them, a band of rows at a time, straight into the encoder's
// strip.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "RowPictureSource.h"

namespace vardolin::tools {

class ImageFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How the pixels of a row are laid out in the file.
enum class PixelLayout { Rgb, Bgr, Bgrx, Grey };

// Where the rows of a picture file are and how to read them.
struct RowFormat {
    int32_t width = 0;
    int32_t height = 0;
    PixelLayout layout = PixelLayout::Rgb;
    int32_t maxValue = 255;    // samples are scaled to 0..255 from 0..maxValue
    bool bottomUp = false;     // the file's first row is the picture's bottom row
    uint64_t pixelOffset = 0;  // where the first row starts
    uint64_t rowBytes = 0;     // from one row to the next, padding included
};

// An open picture file. Raises ImageFileError with a one-line reason for
// anything it cannot read.
class ImageFile final : public RowPictureSource {
public:
    explicit ImageFile(const std::filesystem::path& path);
    ~ImageFile() override;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool Grey() const { return format_.layout == PixelLayout::Grey; }
    int32_t Width() const override { return format_.width; }
    int32_t Height() const override { return format_.height; }
    void ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) override;

private:
    // The file's row y bytes, read with the band around it when not at hand.
    const uint8_t* FileRow(int32_t y);
    void ReadBand(int64_t firstFileRow, int64_t rows);
    // Exactly `bytes` bytes of the file from offset, or ImageFileError.
    void ReadAt(uint64_t offset, uint8_t* into, size_t bytes) const;

    std::filesystem::path path_;
    int descriptor_ = -1;
    uint64_t fileSize_ = 0;
    std::vector<uint8_t> whole_;  // the whole input, for one that is not a regular file (a pipe)
    RowFormat format_;
    std::vector<uint8_t> band_;   // file rows bandFirst_.. as they are in the file
    int64_t bandFirst_ = 0;
    int64_t bandRows_ = 0;
    std::vector<uint8_t> scale_;  // 256 entries when maxValue is not 255
};

}  // namespace vardolin::tools
