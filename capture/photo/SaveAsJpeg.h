// Encodes what a picture box shows from its top-left corner, at the size of
// the picture it holds, as a JPEG file.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/PictureBox.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace vardolin::capture {

struct JpegSaveResult {
    bool written = false;
    std::wstring failure;  // why nothing was written
};

// A picture's pixel size the way the window measures it: its HIMETRIC size
// divided by the millimetres that 100 screen pixels measure.
SIZE PicturePixelSize(HBITMAP picture);

// With overwrite, an existing file of that name is replaced, but only once
// the new file is complete: a failure leaves the old one as it was. Encoder
// and file-system errors are raised.
JpegSaveResult SaveAsJpeg(const std::filesystem::path& fileName, PictureBox& box, bool overwrite, uint8_t quality);
// The same for a picture held in memory, encoded whole.
JpegSaveResult SaveAsJpeg(const std::filesystem::path& fileName, const BitmapPixels& picture, bool overwrite,
                          uint8_t quality);

}  // namespace vardolin::capture
