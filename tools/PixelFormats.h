// How the pixels of a picture file's row are stored, and turning a run of
// them into the blue, green, red bytes the encoder draws.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vardolin::tools {

enum class PixelKind {
    Samples,    // red, green, blue (or grey), then maybe alpha; 8 or 16 bits (big-endian) each
    Bgr,        // blue, green, red bytes, then maybe one unused byte
    BitFields,  // a 16- or 32-bit little-endian word per pixel, channels at masks
    Palette,    // 1, 4 or 8 bits per pixel, an index into a colour table
};

struct PixelFormat {
    PixelKind kind = PixelKind::Samples;
    int channels = 3;                             // Samples: 1 grey, 2 grey + alpha, 3 colour, 4 colour + alpha
    int bytesPerSample = 1;                       // Samples: 1 or 2
    int maxValue = 255;                           // Samples: 0..maxValue is scaled to 0..255
    int bytesPerPixel = 3;                        // Bgr: 3 or 4; BitFields: 2 or 4
    std::array<uint32_t, 3> masks{};              // BitFields: red, green, blue
    int bitsPerPixel = 8;                         // Palette: 1, 4 or 8
    std::vector<std::array<uint8_t, 3>> palette;  // Palette: blue, green, red entries

    // The bits one pixel takes in the file.
    uint64_t PixelBits() const;
};

class PixelConverter {
public:
    explicit PixelConverter(PixelFormat format);

    // Writes pixels left..left + count - 1 of a file row as blue, green, red.
    void Convert(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const;

private:
    void ConvertSamples(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const;
    void ConvertBitFields(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const;
    void ConvertPalette(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const;

    PixelFormat format_;
    std::vector<uint8_t> scale_;  // Samples: the 8-bit value of each sample value, when not 8 bits already
    struct Field {
        int shift = 0;
        int drop = 0;  // low bits dropped from fields wider than 16 bits
        std::vector<uint8_t> scale;
    };
    std::array<Field, 3> fields_{};  // BitFields: red, green, blue
};

// The 8-bit value of each value 0..2^bits - 1 of a field or sample whose
// largest value is maxValue, rounded; values above maxValue become 255.
std::vector<uint8_t> ScaleTable(int bits, uint32_t maxValue);

}  // namespace vardolin::tools
