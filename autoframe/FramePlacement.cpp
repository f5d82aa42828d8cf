#include "autoframe/FramePlacement.h"

namespace vardolin::autoframe {
namespace {

// The start of a span of frameLength whose centre is the centre of a span of
// length starting at start (halves rounded down).
int CentredStart(int start, int length, int frameLength) {
    int twice = 2 * start + length - frameLength;
    return twice >= 0 ? twice / 2 : -((1 - twice) / 2);
}

int ClampLikeDrag(int position, int length, int pictureLength) {
    if (position < 0) position = 0;
    if (pictureLength - length < position) position = pictureLength - length;
    return position;
}

// parts / divisor of length, rounded up (lengths are never negative).
int Share(int length, int parts, int divisor) { return (length * parts + divisor - 1) / divisor; }

}  // namespace

HeadBox EstimateHead(const FaceBox& face) {
    int above = Share(face.height, kCrownAboveTenths, 10);
    int below = Share(face.height, kChinBelowTenths, 10);
    int width = Share(face.width, kHeadWidthHalves, 2);
    return {CentredStart(face.left, face.width, width), face.top - above, width, above + face.height + below};
}

int CrownMargin(Extent frame) { return (frame.height + 5) / 10; }

FramePlacement PlaceFrame(const FaceBox& face, Extent frame, Extent picture) {
    HeadBox head = EstimateHead(face);
    int margin = CrownMargin(frame);
    bool larger = head.width > frame.width || margin + head.height > frame.height;
    int left = CentredStart(face.left, face.width, frame.width);
    int top = larger ? CentredStart(face.top, face.height, frame.height) : head.top - margin;
    return {ClampLikeDrag(left, frame.width, picture.width), ClampLikeDrag(top, frame.height, picture.height), larger};
}

}  // namespace vardolin::autoframe
