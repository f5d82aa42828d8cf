#include "photo/FaceFraming.h"

#include "BitmapFile.h"
#include "FaceDetector.h"

namespace vardolin::capture {

std::optional<autoframe::FramePlacement> FramingOfLargestFace(HBITMAP picture, SIZE frame, SIZE inner) {
    BitmapPixels pixels = ReadBitmapPixels(picture);
    if (pixels.Empty()) return std::nullopt;
    autoframe::GreyPicture grey = autoframe::GreyFromBgr(pixels.bits.data(), pixels.width, pixels.height,
                                                         pixels.Stride(), autoframe::RowOrder::BottomUp);
    std::vector<autoframe::FaceBox> faces = autoframe::FindFaces(grey);
    std::optional<autoframe::FaceBox> face = autoframe::LargestFace(faces);
    if (!face) return std::nullopt;
    return autoframe::PlaceFrame(*face, {frame.cx, frame.cy}, {inner.cx, inner.cy});
}

}  // namespace vardolin::capture
