// Fuzz target over the picture readers of the command-line encoder: the input
// is a picture file of any format, opened from memory with the code the tool
// uses. A file that is refused must say why in one line. A picture that is
// accepted must hold no more pixels than its bytes can describe, give every
// row whole and in parts alike, give the same pixels when read as a file at
// offsets, and, when small, be encoded as the tool encodes it.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "encoder/ClsJPEG.h"
#include "tools/fuzz/FuzzInput.h"
#include "tools/ImageFiles.h"
#include "encoder/tests/JpegDecoder.h"

namespace {

using namespace vardolin;
using fuzz::Finding;
using tools::ImageFile;
using tools::ImageFileError;

// Pixels one input byte can describe: eight in a 1-bit row, and a PNG's
// deflate stream expands at most 1032 times.
constexpr uint64_t kPixelsPerByte = 8;
constexpr uint64_t kPngPixelsPerByte = 8 * 1032;
constexpr int64_t kEncodedPixels = 16 * 1024;  // larger pictures are read, not encoded

bool IsPng(std::span<const uint8_t> bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1A\n", 8) == 0;
}

// Reads every row whole, and from a column on, and checks that both agree.
// Returns a digest of the pixels.
uint64_t ReadAllRows(ImageFile& image) {
    const int32_t width = image.Width();
    std::vector<uint8_t> row(size_t(width) * 3), part(size_t(width) * 3);
    uint64_t digest = 1469598103934665603u;
    for (int32_t y = 0; y < image.Height(); ++y) {
        image.ReadRow(y, 0, width, row.data());
        const int32_t left = y % width;
        image.ReadRow(y, left, width - left, part.data());
        if (std::memcmp(part.data(), &row[size_t(left) * 3], size_t(width - left) * 3) != 0)
            Finding("a part of a row differs from the whole row");
        for (uint8_t b : row) digest = (digest ^ b) * 1099511628211u;
    }
    return digest;
}

// The same bytes as a file in memory, opened by its path and read at offsets.
void CompareWithFile(std::span<const uint8_t> bytes, ImageFile& fromMemory, uint64_t digest) {
    const int fd = memfd_create("picture", MFD_CLOEXEC);
    if (fd < 0) return;
    if (write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size())) {
        try {
            ImageFile fromFile("/proc/self/fd/" + std::to_string(fd));
            if (fromFile.Width() != fromMemory.Width() || fromFile.Height() != fromMemory.Height() ||
                fromFile.Grey() != fromMemory.Grey())
                Finding("the file gives another picture than the same bytes in memory");
            if (ReadAllRows(fromFile) != digest) Finding("the file gives other pixels than the same bytes in memory");
        } catch (const ImageFileError& e) {
            Finding("the file is refused, the same bytes in memory are not:", e.what());
        }
    }
    close(fd);
}

// What the tool does with the picture: greyscale JPEG for a grey picture.
void EncodeAsTheToolDoes(ImageFile& image) {
    ClsJPEG encoder;
    if (image.Grey()) encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    std::vector<uint8_t> file;
    try {
        if (encoder.SampleHDC(image, image.Width(), image.Height()) != 0) Finding("the picture was refused");
        file = encoder.Encode();
    } catch (const ComponentError& e) {
        Finding("the picture was not encoded:", e.description());
    }
    const test::Decoded decoded = test::DecodeJpeg(file);
    if (!decoded.ok) Finding("output does not decode:", decoded.error.c_str());
    if (decoded.width != image.Width() || decoded.height != image.Height()) Finding("decoded size differs");
}

void Run(std::span<const uint8_t> bytes) {
    std::optional<ImageFile> image;
    try {
        image.emplace(bytes);
    } catch (const ImageFileError& e) {
        if (!fuzz::OneLine(e.what())) Finding("not a one-line reason:", e.what());
        return;
    }
    const uint64_t pixels = uint64_t(image->Width()) * uint64_t(image->Height());
    if (pixels == 0) Finding("a picture without pixels was accepted");
    if (pixels > (IsPng(bytes) ? kPngPixelsPerByte : kPixelsPerByte) * bytes.size())
        Finding("more pixels than the input can hold");
    const uint64_t digest = ReadAllRows(*image);
    CompareWithFile(bytes, *image, digest);
    if (int64_t(pixels) <= kEncodedPixels) EncodeAsTheToolDoes(*image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Run(std::span<const uint8_t>(data, size));
    return 0;
}
