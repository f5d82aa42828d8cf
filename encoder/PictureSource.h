// Where SampleHDC takes its pixels from. The platform owns the off-screen
// canvas and the drawing into it (1:1 or stretched); the encoder reads the
// canvas bytes and does everything else itself. A source that holds its
// picture as rows can instead hand them out, and SampleHDC then draws each
// band of rows only when it works on it, with no canvas of the whole picture.
#pragma once

#include <cstdint>

#include "encoder/PixelRows.h"

namespace vardolin {

// A 24-bit, bottom-up canvas: scan line 0 is the bottom line of the picture,
// each pixel is blue, green, red, and lines are padded to 4 bytes.
struct CanvasView {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;  // bytes per scan line

    uint8_t* Line(int32_t scanLine) const { return bits + static_cast<int64_t>(scanLine) * stride; }
    // Row y counted from the top, as a device context counts.
    uint8_t* Row(int32_t y) const { return Line(height - 1 - y); }
};

class PictureSource {
public:
    virtual ~PictureSource() = default;

    // Creates a zero-filled canvas of width x height pixels (both already
    // multiples of 8). Returns false when it cannot be made; the encoder then
    // reports status 1. A source holds one canvas at a time; a new call
    // replaces the old one.
    virtual bool CreateCanvas(int32_t width, int32_t height) = 0;

    // Draws the srcWidth x srcHeight rectangle at (srcLeft, srcTop) of the
    // picture onto destWidth x destHeight pixels of the canvas whose top-left
    // corner is canvas column 0, row destTop (counted from the top). Copies 1:1
    // when the sizes are equal, stretches with area averaging otherwise.
    virtual void Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight, int32_t destTop,
                      int32_t destWidth, int32_t destHeight) = 0;

    // The canvas's memory, valid after CreateCanvas until ReleaseCanvas. The
    // encoder reads it directly and replicates edge pixels in it.
    virtual CanvasView Canvas() = 0;

    // Frees the canvas. Called on every path once the canvas was created.
    virtual void ReleaseCanvas() = 0;

    // The picture's rows, or null for a source that only draws into a canvas.
    virtual PixelRows* Rows() { return nullptr; }

    // For a source with rows: whether it agrees to take a picture whose
    // canvas would be width x height pixels (the encoder reports status 1
    // otherwise), as CreateCanvas would.
    virtual bool AcceptsCanvas(int32_t width, int32_t height) const {
        (void)width;
        (void)height;
        return true;
    }
};

}  // namespace vardolin
