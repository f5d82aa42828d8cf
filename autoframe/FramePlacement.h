// Where the crop frame goes on a face: a pure rule, so the capture window
// and the tests agree on it.
#pragma once

#include "autoframe/FaceBox.h"

namespace vardolin::autoframe {

struct Extent {
    int width, height;
};

// The crop frame's size, in pixels of the 320 x 240 still: also the designed
// size of a photo, which larger photos multiply.
inline constexpr Extent kCropFrameSize{156, 188};

// The whole head as estimated from a face box: crown to chin, hair to hair.
struct HeadBox {
    int left, top, width, height;
};

// The detector's box runs from about the brows to the chin, a little narrower
// than the cheeks. Measured on the test portraits (a woman with full hair and
// a woman in a peaked cap, at full size and as 320 x 240 stills, by eye):
//   crown (top of the hair or cap)  0.79 to 0.91 box heights above the box top
//   chin                            0.0 to 0.08 box heights below its bottom
//   head width (hair or cap)        1.34 to 1.93 box widths, centred on the box
// The estimate takes the crown at 9/10 of a box height above, the chin at
// 1/10 below (so the head is twice the box's height) and the width at 3/2,
// rounding outwards.
constexpr int kCrownAboveTenths = 9;
constexpr int kChinBelowTenths = 1;
constexpr int kHeadWidthHalves = 3;

HeadBox EstimateHead(const FaceBox& face);

// The space left between the frame's top and the crown: a tenth of the
// frame's height, rounded (19 pixels on a 188-pixel frame).
int CrownMargin(Extent frame);

struct FramePlacement {
    int left, top;
    bool headLargerThanFrame;
};

// The frame's top-left corner for a face on a picture. The face is centred
// horizontally and the estimated crown sits CrownMargin below the frame's
// top. A head that cannot fit (wider than the frame, or taller than the frame
// less the margin) sets headLargerThanFrame, and the frame is centred on the
// face both ways instead. The corner is then clamped as a drag clamps the
// frame: first to 0, then to picture - frame, so a picture smaller than the
// frame gives a negative corner, as a drag does.
FramePlacement PlaceFrame(const FaceBox& face, Extent frame, Extent picture);

}  // namespace vardolin::autoframe
