#include "capture/photo/FaceFraming.h"

#include "capture/BitmapFile.h"
#include "autoframe/FaceDetector.h"
#include "capture/GetPICTexts.h"
#include "win/Settings.h"
#include "capture/photo/CropFrame.h"

namespace vardolin::capture {

std::optional<autoframe::FaceBox> LargestFaceIn(const BitmapPixels& picture) {
    if (picture.Empty()) return std::nullopt;
    autoframe::GreyPicture grey = autoframe::GreyFromBgr(picture.bits.data(), picture.width, picture.height,
                                                         picture.Stride(), autoframe::RowOrder::BottomUp);
    std::vector<autoframe::FaceBox> faces = autoframe::FindFaces(grey);
    return autoframe::LargestFace(faces);
}

std::optional<autoframe::FramePlacement> FramingOfLargestFace(const BitmapPixels& picture, SIZE frame, SIZE inner) {
    std::optional<autoframe::FaceBox> face = LargestFaceIn(picture);
    if (!face) return std::nullopt;
    return autoframe::PlaceFrame(*face, {frame.cx, frame.cy}, {inner.cx, inner.cy});
}

void FrameFaceInNewStill(const PhotoParts& photo) {
    SetWindowTextW(photo.hint, kLabel1Caption);
    std::optional<RECT> frame = photo.still.Frame();
    if (!frame || !AutoFrameEnabled()) return;
    RECT inner{};
    GetClientRect(photo.still.Window(), &inner);
    std::optional<autoframe::FramePlacement> place =
        FramingOfLargestFace(ReadBitmapPixels(photo.still.Picture()),
                             {frame->right - frame->left, frame->bottom - frame->top}, {inner.right, inner.bottom});
    if (!place) return;
    PlaceCropFrame(photo, {place->left, place->top});
    if (place->headLargerThanFrame) SetWindowTextW(photo.hint, kStepBackText);
}

}  // namespace vardolin::capture
