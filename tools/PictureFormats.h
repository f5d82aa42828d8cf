// The readers of each picture format: each checks a header and says where
// the rows are and how their pixels are stored, or decodes a picture whose
// rows cannot be read in place. A picture whose header claims more pixels
// than the input can hold fails here, before anything is allocated for it.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/PictureBytes.h"
#include "tools/PixelFormats.h"

namespace vardolin::tools {

struct RowLayout {
    int32_t width = 0;
    int32_t height = 0;
    bool grey = false;         // a grey picture (written as a greyscale JPEG unless told otherwise)
    bool bottomUp = false;     // the first row stored is the picture's bottom row
    uint64_t pixelOffset = 0;  // where the first row starts
    uint64_t rowBytes = 0;     // from one row to the next, padding included
    PixelFormat pixels;
};

// A picture as its reader leaves it.
struct PictureLayout {
    RowLayout rows;
    std::vector<uint8_t> decoded;  // when not empty, the rows are here rather than in the input
};

// Reads the header of any format read, told by its first bytes.
PictureLayout ReadPictureLayout(PictureBytes& bytes);

PictureLayout ReadBmp(PictureBytes& bytes);
PictureLayout ReadNetpbm(PictureBytes& bytes);  // PGM and PPM, binary and plain, and PAM
PictureLayout ReadPng(PictureBytes& bytes);

// Shared checks of the readers.
void CheckPictureSize(int64_t width, int64_t height);
// Sets rowBytes for unpadded rows and checks that the input holds them all.
void SetPackedRows(RowLayout& rows, uint64_t inputSize, const char* format);
// Layout of a picture decoded into 8-bit grey or red, green, blue samples.
RowLayout DecodedLayout(int32_t width, int32_t height, bool grey);

}  // namespace vardolin::tools
