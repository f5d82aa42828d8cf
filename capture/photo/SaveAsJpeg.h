// Encodes what a picture box shows from its top-left corner, at the size of
// the picture it holds, as JPEG bytes, and writes them as a photo file.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/PictureBox.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::capture {

struct JpegSaveResult {
    bool written = false;
    std::wstring failure;  // why nothing was written
};

struct EncodedPhoto {
    std::vector<uint8_t> bytes;
    std::wstring failure;  // why there are none
};

// A picture's pixel size the way the window measures it: its HIMETRIC size
// divided by the millimetres that 100 screen pixels measure.
SIZE PicturePixelSize(HBITMAP picture);

// Three components, none subsampled, at the quality given. Encoder errors are
// raised. Both run on the window's thread: the box is one of its windows.
EncodedPhoto EncodeJpeg(PictureBox& box, uint8_t quality);
// The same for a picture held in memory, encoded whole.
EncodedPhoto EncodeJpeg(const BitmapPixels& picture, uint8_t quality);

// Writes the bytes as the file `target`, replacing a file of exactly that
// stored name only once the new file is complete on disk: a failure leaves
// the old one as it was and nothing beside it. A file Windows finds under
// the name but stores under another (another case, a short name) is someone
// else's and is left alone. Touches only the file system, on any thread.
JpegSaveResult WritePhotoFile(const std::filesystem::path& target, const std::vector<uint8_t>& bytes);

}  // namespace vardolin::capture
