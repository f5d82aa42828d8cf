// Checks on a new still while the person is still in front of the camera:
// blurred, too dark, too bright, no face, face too small for the photo. All
// measures look at one region of the still: the largest face the detector
// finds, or the crop frame when it finds none. The whole picture is never
// judged, so a dark background or a bright window behind the person does not
// count.
//
// Thresholds, tuned on the portraits under autoframe/tests/portraits (each
// in three skin tones, framed six ways, mirrored, then blurred, under- and
// over-exposed and shrunk; autoframe/tests/PhotoChecksTest.cpp):
//
//   check       measure over the region                        warns when
//   blurred     sharpness: sum |4-neighbour Laplacian| over    < 0.45
//               sum |central differences| (both axes); it
//               does not depend on brightness or contrast
//               and falls as detail goes (good stills 0.58 to
//               0.72; blurred by sigma 1, at most 0.34)
//   too dark    median luminance                               < 45
//               or share of pixels with luminance 0..25        > 50 %
//   too bright  median luminance                               > 225
//               or share of pixels with luminance 247..255     > 25 %
//   no face     the detector finds none
//   too far     face box width / crop frame width              < 0.40 (1x photo)
//                                                              < 0.44 (2x photo)
//                                                              < 0.48 (3x photo)
//
// The first that applies, in that order, is the one warning given. Larger
// photos are printed larger, so they ask a fuller face of the frame.
#pragma once

#include "autoframe/FaceBox.h"
#include "autoframe/GreyPicture.h"

#include <optional>

namespace vardolin::autoframe {

struct Region {
    int left = 0, top = 0, width = 0, height = 0;
};

enum class PhotoWarning { None, Blurred, TooDark, TooBright, NoFace, TooFar };

struct RegionMeasures {
    double sharpness = 0;     // Laplacian over gradient; 0 for a flat region
    int medianLuminance = 0;  // 0..255
    double darkShare = 0;     // of pixels 0..25
    double brightShare = 0;   // of pixels 247..255
};

inline constexpr double kMinSharpness = 0.45;
inline constexpr int kDarkMedian = 45;
inline constexpr int kDarkLuminance = 25;
inline constexpr double kMaxDarkShare = 0.50;
inline constexpr int kBrightMedian = 225;
inline constexpr int kBrightLuminance = 247;
inline constexpr double kMaxBrightShare = 0.25;
// Indexed by photo scale - 1.
inline constexpr double kMinFaceShare[] = {0.40, 0.44, 0.48};

// The measures over region, clipped to the picture; all zero when nothing of
// it lies on the picture.
RegionMeasures MeasureRegion(const GreyPicture& picture, Region region);

// The warning for a still whose largest face (if any) and crop frame are
// known; photoScale 1..3 is the stored photo's size in multiples of the
// designed one (out of range counts as the nearest).
PhotoWarning JudgePhoto(const GreyPicture& picture, const std::optional<FaceBox>& face, Region frame, int photoScale);

// The checks look for the face in the still shrunk to this width when it is
// wider: a face too small to be found there (under 45 pixels, a seventh of
// the width) is too far anyway, and the finder's time grows with the area.
inline constexpr int kCheckFinderWidth = 320;

// The largest face in the still, found as above, in the still's pixels.
std::optional<FaceBox> LargestFaceForChecks(const GreyPicture& picture);

// Finds the largest face in the still, then judges it.
PhotoWarning CheckPhoto(const GreyPicture& picture, Region frame, int photoScale);

}  // namespace vardolin::autoframe
