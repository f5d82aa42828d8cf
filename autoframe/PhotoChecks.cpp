#include "autoframe/PhotoChecks.h"

#include "autoframe/FaceDetector.h"
#include "autoframe/Pyramid.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vardolin::autoframe {
namespace {

Region Clip(Region r, int width, int height) {
    int left = std::max(r.left, 0), top = std::max(r.top, 0);
    int right = std::min(r.left + r.width, width), bottom = std::min(r.top + r.height, height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

}  // namespace

RegionMeasures MeasureRegion(const GreyPicture& picture, Region region) {
    RegionMeasures m;
    if (!picture.Valid()) return m;
    Region r = Clip(region, picture.width, picture.height);
    if (r.width == 0) return m;

    std::array<long long, 256> histogram{};
    for (int y = r.top; y < r.top + r.height; ++y) {
        const uint8_t* row = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
        for (int x = r.left; x < r.left + r.width; ++x) ++histogram[row[x]];
    }
    long long count = static_cast<long long>(r.width) * r.height, seen = 0, dark = 0, bright = 0;
    m.medianLuminance = -1;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (m.medianLuminance < 0 && 2 * seen >= count) m.medianLuminance = v;
        if (v <= kDarkLuminance) dark += histogram[v];
        if (v >= kBrightLuminance) bright += histogram[v];
    }
    m.darkShare = static_cast<double>(dark) / count;
    m.brightShare = static_cast<double>(bright) / count;

    // The Laplacian and the central differences over the inner pixels (the
    // region's border pixels need neighbours inside the picture).
    long long laplacian = 0, gradient = 0;
    int x0 = std::max(r.left, 1), x1 = std::min(r.left + r.width, picture.width - 1);
    int y0 = std::max(r.top, 1), y1 = std::min(r.top + r.height, picture.height - 1);
    int w = picture.width;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* p = picture.pixels.data() + static_cast<size_t>(y) * w;
        for (int x = x0; x < x1; ++x) {
            int c = p[x], west = p[x - 1], east = p[x + 1], north = p[x - w], south = p[x + w];
            laplacian += std::abs(4 * c - west - east - north - south);
            gradient += std::abs(east - west) + std::abs(south - north);
        }
    }
    m.sharpness = gradient > 0 ? static_cast<double>(laplacian) / gradient : 0.0;
    return m;
}

PhotoWarning JudgePhoto(const GreyPicture& picture, const std::optional<FaceBox>& face, Region frame, int photoScale) {
    Region region = face ? Region{face->left, face->top, face->width, face->height} : frame;
    RegionMeasures m = MeasureRegion(picture, region);
    if (m.sharpness < kMinSharpness) return PhotoWarning::Blurred;
    if (m.medianLuminance < kDarkMedian || m.darkShare > kMaxDarkShare) return PhotoWarning::TooDark;
    if (m.medianLuminance > kBrightMedian || m.brightShare > kMaxBrightShare) return PhotoWarning::TooBright;
    if (!face) return PhotoWarning::NoFace;
    int scale = std::clamp(photoScale, 1, static_cast<int>(std::size(kMinFaceShare)));
    if (face->width < kMinFaceShare[scale - 1] * frame.width) return PhotoWarning::TooFar;
    return PhotoWarning::None;
}

std::optional<FaceBox> LargestFaceForChecks(const GreyPicture& picture) {
    if (picture.width <= kCheckFinderWidth) return LargestFace(FindFaces(picture));
    int scale = static_cast<int>(static_cast<long long>(picture.width) * kScaleOne / kCheckFinderWidth);
    std::optional<FaceBox> face = LargestFace(FindFaces(Shrink(picture, scale)));
    if (!face) return face;
    auto back = [scale](int v) { return static_cast<int>(static_cast<long long>(v) * scale / kScaleOne); };
    return FaceBox{back(face->left), back(face->top), back(face->width), back(face->height), face->neighbours};
}

PhotoWarning CheckPhoto(const GreyPicture& picture, Region frame, int photoScale) {
    return JudgePhoto(picture, LargestFaceForChecks(picture), frame, photoScale);
}

}  // namespace vardolin::autoframe
