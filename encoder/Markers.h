// The markers of the segments the encoder writes (the byte after 0xFF) and
// the content of its JFIF APP0 segment.
#pragma once

#include <cstdint>

namespace vardolin {

namespace marker {
inline constexpr uint8_t SOF0 = 0xC0;  // start of frame, baseline DCT
inline constexpr uint8_t DHT = 0xC4;   // define Huffman tables
inline constexpr uint8_t SOI = 0xD8;   // start of image
inline constexpr uint8_t EOI = 0xD9;   // end of image
inline constexpr uint8_t SOS = 0xDA;   // start of scan
inline constexpr uint8_t DQT = 0xDB;   // define quantization tables
inline constexpr uint8_t APP0 = 0xE0;  // application segment 0, here JFIF
inline constexpr uint8_t COM = 0xFE;   // comment
}  // namespace marker

// The fields of the JFIF APP0 segment, in the order they are written.
struct JfifHeader {
    char identifier[5];  // "JFIF" and a zero byte
    uint8_t versionMajor;
    uint8_t versionMinor;
    uint8_t units;           // 0: the densities give only the pixel aspect ratio
    uint16_t xDensity;       // horizontal pixel density
    uint16_t yDensity;       // vertical pixel density
    uint8_t thumbnailWidth;  // 0 x 0: no thumbnail
    uint8_t thumbnailHeight;
};

// JFIF 1.01, square pixels, no thumbnail.
inline constexpr JfifHeader kApp0{{'J', 'F', 'I', 'F', '\0'}, 1, 1, 0, 1, 1, 0, 0};

}  // namespace vardolin
