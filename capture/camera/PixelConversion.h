// Camera pixels into our pictures: one frame, whatever its pixel format
// (RGB24, RGB32, RGB565, RGB555, YUY2, NV12), row order, stride and visible area, converted
// to bottom-up BGR rows and scaled by area averaging. The sink makes the
// 320 x 240 preview with it (the whole picture, centre-cropped to 4:3 when
// it is wider or taller), a still's full-detail 4:3 area comes from the kept
// frame the same way, and a photo's detail crop is averaged down by it.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/camera/CameraFormats.h"

#include <guiddef.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace vardolin::capture {

inline constexpr int kPreviewWidth = 320;
inline constexpr int kPreviewHeight = 240;

// How a frame lays out its pixels. width is what a row holds (the stride in
// pixels, as a video header's biWidth gives it); visible is the picture
// inside (a video header's rcSource), the whole rows when empty. RGB frames
// are bottom-up unless the header's height is negative; YUV frames are
// always top-down.
struct SampleLayout {
    PixelFormat format;
    int width;
    int height;
    bool bottomUp;
    RECT visible{};
};

// The layout described by a video header and its source rectangle, or
// nothing when it is unusable (a source rectangle outside the rows included).
std::optional<SampleLayout> LayoutOf(PixelFormat format, const BITMAPINFOHEADER& header, const RECT& source = {});

// Bytes a frame of this layout needs.
size_t SampleBytes(const SampleLayout& layout);

// The visible picture of a layout.
RECT VisibleArea(const SampleLayout& layout);

// The largest 4:3 area in the middle of a picture of this size: what the
// preview shows, and what a still keeps at full detail.
struct PictureSize {
    int width, height;
};
PictureSize FourByThreeCrop(int width, int height);

// Keeps its working rows between calls, so converting frame after frame
// allocates nothing once the sizes are known. One converter belongs to one
// thread at a time.
class PixelConverter {
public:
    // False (and the picture untouched) when the frame is shorter than its
    // layout needs. The picture is out in size: 320 x 240 for the preview,
    // or the 4:3 crop's own size for the whole detail. Without an area the
    // middle 4:3 area of the visible picture is taken; an area must lie
    // inside the frame.
    bool Convert(const SampleLayout& layout, const uint8_t* sample, size_t size, BitmapPixels& picture,
                 PictureSize out = {kPreviewWidth, kPreviewHeight}, const RECT* area = nullptr);

private:
    void Prepare(const SampleLayout& layout, PictureSize out, RECT area);
    void ConvertRow(const SampleLayout& layout, const uint8_t* sample, int y);

    SampleLayout prepared_{PixelFormat::Rgb24, 0, 0, false};
    PictureSize preparedOut_{0, 0};
    RECT preparedArea_{};
    std::vector<int> columnStart_;  // out.width + 1 source columns, in the cropped area
    std::vector<int> rowStart_;     // out.height + 1 source rows
    std::vector<uint8_t> row_;      // one source row as blue, green, red
    std::vector<uint32_t> sums_;    // out.width x 3 channel sums
};

}  // namespace vardolin::capture
