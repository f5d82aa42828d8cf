#include "capture/photo/SaveAsJpeg.h"

#include "encoder/ClsJPEG.h"
#include "encoder/FileOutput.h"
#include "capture/photo/StoreFailure.h"
#include "win/GdiPictureSource.h"
#include "encoder/MemoryPicture.h"
#include "capture/GetPICTexts.h"
#include "roster/PhotoFiles.h"
#include "win/ComponentError.h"
#include "win/Win32Handles.h"

#include <cmath>

namespace vardolin::capture {
namespace {

constexpr double kHimetricPerInch = 2540.0;

int ScreenDpi() {
    WindowDc screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

JpegSaveResult Failed(std::wstring why) { return {false, std::move(why)}; }

EncodedPhoto Encode(PictureSource& source, SIZE size, uint8_t quality) {
    ClsJPEG jpeg;
    jpeg.SetQuality(quality);
    jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    if (jpeg.SampleHDC(source, size.cx, size.cy, 0, 0) != 0) return {{}, kImageUnreadableText};
    return {jpeg.Encode(), {}};
}

}  // namespace

SIZE PicturePixelSize(HBITMAP picture) {
    BITMAP shape{};
    if (!picture || !GetObjectW(picture, sizeof shape, &shape)) return {0, 0};
    int dpi = ScreenDpi();
    double k = 25.4 * 100 / dpi;  // millimetres that 100 pixels measure: 26.458 at 96 dpi
    long himetricWidth = MulDiv(shape.bmWidth, static_cast<int>(kHimetricPerInch), dpi);
    long himetricHeight = MulDiv(shape.bmHeight, static_cast<int>(kHimetricPerInch), dpi);
    return {static_cast<LONG>(std::nearbyint(himetricWidth / k)),
            static_cast<LONG>(std::nearbyint(himetricHeight / k))};
}

EncodedPhoto EncodeJpeg(PictureBox& box, uint8_t quality) {
    SIZE size = PicturePixelSize(box.Picture());
    HDC dc = box.ImageDc();
    if (!dc) return {{}, kNothingToStoreText};
    GdiPictureSource source(dc);
    return Encode(source, size, quality);
}

EncodedPhoto EncodeJpeg(const BitmapPixels& picture, uint8_t quality) {
    if (picture.Empty()) return {{}, kNothingToStoreText};
    std::vector<uint8_t> rgb(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* bgr = picture.Row(y);
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * picture.width * 3;
        for (int x = 0; x < picture.width; ++x, bgr += 3, out += 3) out[0] = bgr[2], out[1] = bgr[1], out[2] = bgr[0];
    }
    MemoryPicture source(picture.width, picture.height, std::move(rgb));
    return Encode(source, {picture.width, picture.height}, quality);
}

JpegSaveResult WritePhotoFile(const std::filesystem::path& target, const std::vector<uint8_t>& bytes) {
    try {
        DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Failed(kFolderOfThatNameText);
            // These are the files a plain delete would not remove.
            if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
                return Failed(kFileNotReplaceableText);
        }
        std::filesystem::path replacement = ReplacementPath(target);
        DeleteFileW(replacement.c_str());  // left over from an interrupted store
        if (!WriteNewFile(replacement, bytes))
            return Failed(TemporaryFileNotCreatedText(roster::DisplayPath(replacement)));
        if (DWORD error = PutReplacementInPlaceOrRemove(replacement, target)) return Failed(SystemMessage(error));
        return {true, {}};
    } catch (...) {
        return Failed(StoreFailureText(CurrentError()));
    }
}

}  // namespace vardolin::capture
