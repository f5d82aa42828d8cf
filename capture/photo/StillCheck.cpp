#include "capture/photo/StillCheck.h"

#include "capture/GetPICTexts.h"
#include "win/Settings.h"

namespace vardolin::capture {

const wchar_t* StillWarningText(autoframe::PhotoWarning warning) {
    using autoframe::PhotoWarning;
    switch (warning) {
    case PhotoWarning::Blurred: return kBlurredStillText;
    case PhotoWarning::TooDark: return kTooDarkStillText;
    case PhotoWarning::TooBright: return kTooBrightStillText;
    case PhotoWarning::NoFace: return kNoFaceStillText;
    case PhotoWarning::TooFar: return kTooFarStillText;
    case PhotoWarning::None: break;
    }
    return L"";
}

autoframe::PhotoWarning CheckStill(const BitmapPixels& picture, const RECT& frame, int photoScale) {
    if (picture.Empty()) return autoframe::PhotoWarning::None;
    autoframe::GreyPicture grey = autoframe::GreyFromBgr(picture.bits.data(), picture.width, picture.height,
                                                         picture.Stride(), autoframe::RowOrder::BottomUp);
    return autoframe::CheckPhoto(grey, {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
                                 photoScale);
}

void CheckNewStill(const PhotoParts& photo) {
    photo.still.SetWarning(L"");
    std::optional<RECT> frame = photo.still.Frame();
    if (!frame || !PhotoChecksEnabled()) return;
    photo.still.SetWarning(StillWarningText(CheckStill(ReadBitmapPixels(photo.still.Picture()), *frame, PhotoScale())));
}

}  // namespace vardolin::capture
