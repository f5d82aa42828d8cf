// Reading the pictures the command-line encoder accepts: PGM, PPM and PAM
// (binary and plain), BMP and PNG. Opening a picture reads and checks its
// header. Rows stored as they are read (binary PGM/PPM/PAM, BMP) are taken
// from the input only when the encoder draws them, a band of rows at a time
// from a file, or in place from memory; the other forms are decoded whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "tools/PictureBytes.h"
#include "tools/PictureFormats.h"
#include "tools/PixelFormats.h"
#include "encoder/RowPictureSource.h"

namespace vardolin::tools {

// An open picture. Raises ImageFileError with a one-line reason for anything
// it cannot read.
class ImageFile final : public RowPictureSource {
public:
    // A file, or standard input for "-".
    explicit ImageFile(const std::filesystem::path& path);
    // Bytes in memory, read with the same code; they must outlive the picture.
    explicit ImageFile(std::span<const uint8_t> bytes);
    ~ImageFile() override;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool Grey() const { return layout_.grey; }
    int32_t Width() const override { return layout_.width; }
    int32_t Height() const override { return layout_.height; }
    void ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) override;

private:
    struct Opened {
        std::unique_ptr<PictureBytes> bytes;  // where the rows are: the input, or the decoded picture
        RowLayout layout;
    };
    static Opened Open(std::unique_ptr<PictureBytes> input);
    explicit ImageFile(Opened opened);
    // The stored row y, read with the band around it when not at hand.
    const uint8_t* StoredRow(int32_t y);

    std::unique_ptr<PictureBytes> bytes_;
    RowLayout layout_;
    PixelConverter converter_;
    std::vector<uint8_t> band_;  // stored rows bandFirst_.. as they are in the file
    int64_t bandFirst_ = 0;
    int64_t bandRows_ = 0;
};

}  // namespace vardolin::tools
