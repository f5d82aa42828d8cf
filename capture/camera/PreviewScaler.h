// Turns one camera sample, whatever its pixel format and size, into the
// 320 x 240 picture the control shows and writes: the whole camera picture,
// centre-cropped to 4:3 when it is wider or taller, scaled by area averaging,
// top row first. The same crop at the camera's full detail is what a still
// keeps for photos larger than the designed size.
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

// How a sample lays out its pixels. RGB samples are bottom-up unless the
// header's height is negative; YUV samples are always top-down.
struct SampleLayout {
    PixelFormat format;
    int width;
    int height;
    bool bottomUp;
};

// The layout described by a video header, or nothing when it is unusable.
std::optional<SampleLayout> LayoutOf(PixelFormat format, const BITMAPINFOHEADER& header);

// Bytes a sample of this layout needs.
size_t SampleBytes(const SampleLayout& layout);

// The largest 4:3 area in the middle of a picture of this size: what the
// preview shows, and what a still keeps at full detail.
struct PictureSize {
    int width, height;
};
PictureSize FourByThreeCrop(int width, int height);

// Keeps its working rows between calls, so converting frame after frame
// allocates nothing once the sizes are known.
class PreviewScaler {
public:
    // False (and the picture untouched) when the sample is shorter than its
    // layout needs. The picture is out in size: 320 x 240 for the preview,
    // or the 4:3 crop's own size for the whole detail. Without an area the
    // sample's middle 4:3 area is taken; an area must lie inside the sample.
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
