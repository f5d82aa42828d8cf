// Where the crop frame goes on a face: a pure rule, so the capture window
// and the tests agree on it.
#pragma once

#include "FaceBox.h"

namespace vardolin::autoframe {

struct Extent {
    int width, height;
};

struct FramePlacement {
    int left, top;
    bool faceLargerThanFrame;
};

// The frame's top-left corner for a face on a picture. The face is centred
// horizontally and its top sits a tenth of the frame's height (rounded) below
// the frame's top, or less when the face would otherwise reach past the
// frame's bottom. A face wider or taller than the frame sets
// faceLargerThanFrame and is centred both ways instead. The corner is then
// clamped as a drag clamps the frame: first to 0, then to picture - frame,
// so a picture smaller than the frame gives a negative corner, as a drag
// does.
FramePlacement PlaceFrame(const FaceBox& face, Extent frame, Extent picture);

}  // namespace vardolin::autoframe
