#include "capture/photo/DetailCrop.h"

#include "capture/camera/PixelConversion.h"

#include "autoframe/FramePlacement.h"

#include <algorithm>
#include <cstdint>

namespace vardolin::capture {
namespace {

// A still coordinate in the detail's pixels.
int InDetail(int stillCoordinate, int detailLength, int stillLength) {
    return static_cast<int>(int64_t{stillCoordinate} * detailLength / stillLength);
}

}  // namespace

int ScaleHeldBy(const BitmapPixels& detail, int wanted) {
    return std::max(1, std::min({wanted, detail.width / kPreviewWidth, detail.height / kPreviewHeight}));
}

std::optional<BitmapPixels> DetailedCrop(const BitmapPixels& detail, const RECT& crop, int scale) {
    if (scale < 1 || ScaleHeldBy(detail, scale) != scale) return std::nullopt;
    // The block under the frame, kept inside the picture.
    int left = std::clamp(InDetail(crop.left, detail.width, kPreviewWidth), 0, detail.width - 1);
    int top = std::clamp(InDetail(crop.top, detail.height, kPreviewHeight), 0, detail.height - 1);
    RECT block{left, top, std::clamp(InDetail(crop.right, detail.width, kPreviewWidth), left + 1, detail.width),
               std::clamp(InDetail(crop.bottom, detail.height, kPreviewHeight), top + 1, detail.height)};
    // The detail is laid out as a bottom-up RGB24 frame: the camera's pixel
    // conversion averages the block down as it averages frames.
    const autoframe::Extent designed = autoframe::kCropFrameSize;
    PixelConverter scaler;
    BitmapPixels photo;
    if (!scaler.Convert({PixelFormat::Rgb24, detail.width, detail.height, true}, detail.bits.data(), detail.bits.size(),
                        photo, {designed.width * scale, designed.height * scale}, &block))
        return std::nullopt;
    return photo;
}

}  // namespace vardolin::capture
