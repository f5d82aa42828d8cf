#include "autoframe/FaceDetector.h"

#include "autoframe/CascadeScan.h"
#include "autoframe/CascadeTable.h"
#include "autoframe/HitGrouping.h"
#include "autoframe/Pyramid.h"

namespace vardolin::autoframe {
namespace {

// Windows smaller than twice the cascade's own size are tried at every
// second position in both directions: a face there still gives several hits,
// and the scan takes a quarter of the time.
int StepAt(int scale) { return scale < 2 * kScaleOne ? 2 : 1; }

}  // namespace

std::vector<FaceBox> FindFaces(const GreyPicture& picture, int minNeighbours) {
    const Cascade& cascade = kFrontalFaceCascade;
    if (!picture.Valid()) return {};
    std::vector<Hit> hits;
    for (int scale :
         PyramidScales(picture.width, picture.height, std::max(cascade.windowWidth, cascade.windowHeight))) {
        GreyPicture level = scale == kScaleOne ? picture : Shrink(picture, scale);
        ScanLevel(cascade, Integrate(level), level.width, level.height, scale, StepAt(scale), hits);
    }
    return GroupHits(hits, minNeighbours);
}

std::optional<FaceBox> LargestFace(std::span<const FaceBox> faces) {
    std::optional<FaceBox> largest;
    for (const FaceBox& face : faces)
        if (!largest || face.Area() > largest->Area() ||
            (face.Area() == largest->Area() && face.neighbours > largest->neighbours))
            largest = face;
    return largest;
}

}  // namespace vardolin::autoframe
