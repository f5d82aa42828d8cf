#include "FramePlacement.h"

#include <algorithm>

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

}  // namespace

FramePlacement PlaceFrame(const FaceBox& face, Extent frame, Extent picture) {
    bool larger = face.width > frame.width || face.height > frame.height;
    int left = CentredStart(face.left, face.width, frame.width);
    int top;
    if (larger) {
        top = CentredStart(face.top, face.height, frame.height);
    } else {
        int margin = std::min((frame.height + 5) / 10, frame.height - face.height);
        top = face.top - margin;
    }
    return {ClampLikeDrag(left, frame.width, picture.width), ClampLikeDrag(top, frame.height, picture.height), larger};
}

}  // namespace vardolin::autoframe
