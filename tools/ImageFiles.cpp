#include "tools/ImageFiles.h"

#include <algorithm>

namespace vardolin::tools {

namespace {

constexpr uint64_t kBandBytes = 256 * 1024;  // rows read from a file at a time, at least

}  // namespace

ImageFile::Opened ImageFile::Open(std::unique_ptr<PictureBytes> input) {
    PictureLayout picture = ReadPictureLayout(*input);
    if (!picture.decoded.empty()) input = std::make_unique<MemoryBytes>(std::move(picture.decoded), input->Name());
    return {std::move(input), std::move(picture.rows)};
}

ImageFile::ImageFile(Opened opened)
    : bytes_(std::move(opened.bytes)), layout_(std::move(opened.layout)), converter_(layout_.pixels) {}

ImageFile::ImageFile(const std::filesystem::path& path) : ImageFile(Open(OpenPictureBytes(path))) {}

ImageFile::ImageFile(std::span<const uint8_t> bytes)
    : ImageFile(Open(std::make_unique<MemoryBytes>(bytes, "picture in memory"))) {}

ImageFile::~ImageFile() = default;

// Rows are read in bands in the direction the picture is drawn, top to
// bottom, which is backwards through a bottom-up file.
const uint8_t* ImageFile::StoredRow(int32_t y) {
    const int64_t stored = layout_.bottomUp ? int64_t(layout_.height) - 1 - y : y;
    const uint64_t rowBytes = layout_.rowBytes;
    if (const uint8_t* inPlace = bytes_->InPlace(layout_.pixelOffset + uint64_t(stored) * rowBytes, rowBytes))
        return inPlace;
    if (stored < bandFirst_ || stored >= bandFirst_ + bandRows_) {
        const int64_t rows = std::max<int64_t>(8, int64_t(kBandBytes / rowBytes));
        const int64_t first = layout_.bottomUp ? std::max<int64_t>(0, stored - rows + 1) : stored;
        const int64_t count = std::min<int64_t>(rows, int64_t(layout_.height) - first);
        bandRows_ = 0;  // until the band is complete
        band_.resize(size_t(count * int64_t(rowBytes)));
        bytes_->Read(layout_.pixelOffset + uint64_t(first) * rowBytes, band_.data(), band_.size());
        bandFirst_ = first;
        bandRows_ = count;
    }
    return &band_[size_t(stored - bandFirst_) * rowBytes];
}

void ImageFile::ReadRow(int32_t y, int32_t left, int32_t count, uint8_t* bgr) {
    converter_.Convert(StoredRow(y), left, count, bgr);
}

}  // namespace vardolin::tools
