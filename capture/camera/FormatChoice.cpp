#include "capture/camera/FormatChoice.h"

#include "capture/camera/CameraFormats.h"
#include "capture/camera/PixelConversion.h"

#include <uuids.h>

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace vardolin::capture {
namespace {

bool FourByThree(const OfferedFormat& f) { return int64_t{f.width} * 3 == int64_t{f.height} * 4; }

// 1/15 s in 100 ns units, rounded up: the interval of a camera that says 15 frames a second.
constexpr int64_t kSlowestFastEnough = 666667;

}  // namespace

bool ReachesWantedRate(const OfferedFormat& format) {
    return format.shortestInterval <= 0 || format.shortestInterval <= kSlowestFastEnough;
}

int64_t FrameIntervalFor(const OfferedFormat& format) {
    if (format.shortestInterval <= 0) return 0;
    int64_t longest = std::max(format.longestInterval, format.shortestInterval);
    return std::clamp(kWantedFrameInterval, format.shortestInterval, longest);
}

std::optional<size_t> ChoosePreviewFormat(std::span<const OfferedFormat> offered) {
    std::optional<size_t> best;
    auto key = [&](size_t i) {
        return std::tuple(!ReachesWantedRate(offered[i]), offered[i].width, PreferenceOf(offered[i].subtype));
    };
    for (size_t i = 0; i < offered.size(); ++i) {
        const OfferedFormat& f = offered[i];
        if (!FourByThree(f) || f.width < kPreviewWidth) continue;
        if (!best || key(i) < key(*best)) best = i;
    }
    return best;
}

namespace {

// How many times 320 x 240 the middle 4:3 area of a format holds.
int DetailOf(const OfferedFormat& f) {
    PictureSize crop = FourByThreeCrop(f.width, f.height);
    return std::min(crop.width / kPreviewWidth, crop.height / kPreviewHeight);
}

}  // namespace

std::optional<size_t> ChooseFormatFor(std::span<const OfferedFormat> offered, int scale) {
    if (scale <= 1) return ChoosePreviewFormat(offered);
    std::optional<size_t> best;
    auto key = [&](size_t i) {
        return std::tuple(!ReachesWantedRate(offered[i]), FourByThreeCrop(offered[i].width, offered[i].height).width,
                          PreferenceOf(offered[i].subtype));
    };
    for (size_t i = 0; i < offered.size(); ++i)
        if (DetailOf(offered[i]) >= scale && (!best || key(i) < key(*best))) best = i;
    return best;
}

DetailOffered LargestDetail(std::span<const OfferedFormat> offered) {
    DetailOffered largest{1, 0, 0};
    for (const OfferedFormat& f : offered) {
        largest.scale = std::clamp(DetailOf(f), largest.scale, 3);
        if (int64_t{f.width} * f.height > int64_t{largest.width} * largest.height) {
            largest.width = f.width;
            largest.height = f.height;
        }
    }
    return largest;
}

}  // namespace vardolin::capture
