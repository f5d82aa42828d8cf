// Reading the picture formats the command-line encoder accepts: BMP (24 and
// 32 bits, uncompressed), binary PPM (P6) and PGM (P5).
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace vardolin::tools {

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    bool grey = false;          // true for a PGM input
    std::vector<uint8_t> rgb;   // top row first, red, green, blue
};

class ImageFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises ImageFileError with a one-line reason for anything it cannot read.
Image ReadImage(const std::filesystem::path& path);

}  // namespace vardolin::tools
