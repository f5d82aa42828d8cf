#include "capture/photo/StoreCrop.h"

#include "capture/BitmapFile.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "capture/GetPICTexts.h"
#include "roster/PhotoFiles.h"
#include "capture/photo/SaveAsJpeg.h"
#include "capture/photo/DetailCrop.h"
#include "win/Settings.h"
#include "capture/photo/StoreFailure.h"
#include "capture/photo/TakePhoto.h"
#include "win/BackgroundWork.h"

#include <cmath>

namespace vardolin::capture {
namespace {

constexpr double kLowestQuality = 30;
constexpr double kHighestQuality = 100;

// Message boxes are shown with the window off the top; afterwards it is put
// on top again, whatever the option says.
void Tell(TopmostWindow& window, const Environment& environment, const std::wstring& text, const wchar_t* caption,
          UINT icon) noexcept {
    RunOrSkip([&] { window.Cancel_SetTop(); });
    RunOrSkip([&] { environment.ShowMessageBox(window.Window(), text, caption, MB_OK | icon); });
    RunOrSkip([&] { window.SetTop(); });
}

uint8_t ToByte(double value) {
    double rounded = std::nearbyint(value);
    if (!(rounded >= 0 && rounded <= 255)) throw ComponentError::Overflow();
    return static_cast<uint8_t>(rounded);
}

// The crop preview's drawing, kept as a bitmap in place of the still.
void WritePreviewBitmap(PictureBox& preview) {
    RECT inner{};
    GetClientRect(preview.Window(), &inner);
    WriteBitmapFile(TemporaryPhotoPath(), CopyPixels(preview.ImageDc(), inner.right, inner.bottom));
}

// The crop as the preview shows it at the designed size; from the still's
// full detail when larger photos are wanted and the still holds the detail.
EncodedPhoto EncodePhoto(const PhotoParts& photo, const JpegQuality& quality) noexcept {
    try {
        uint8_t byte = ToByte(quality.Number());
        const CaptureSession& session = photo.session;
        if (session.detail) {
            int scale = ScaleHeldBy(*session.detail, PhotoScale());
            if (auto detailed = scale > 1 ? DetailedCrop(*session.detail, session.crop, scale) : std::nullopt)
                return EncodeJpeg(*detailed, byte);
        }
        return EncodeJpeg(photo.preview, byte);
    } catch (...) {
        return {{}, StoreFailureText(CurrentError())};
    }
}

// Puts the photo in the folder (made when missing); runs away from the
// window, since the folder may be a slow share. On failure, the message for
// the user: the folder's own problem when it takes no files at all.
JpegSaveResult StoreInFolder(const std::filesystem::path& folder, const std::wstring& entry,
                             const std::vector<uint8_t>& bytes) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::filesystem::path file = roster::PhotoPath(folder, entry);
    JpegSaveResult stored = WritePhotoFile(file, bytes);
    if (stored.written) return stored;
    if (DWORD error = roster::FolderWriteError(folder))
        return {false, PhotoFolderNotWritableText(roster::DisplayPath(folder), SystemMessage(error))};
    return {false, PhotoNotStoredText(roster::DisplayPath(file), stored.failure)};
}

}  // namespace

void ClampJpegQuality(JpegQuality& quality) {
    double value = quality.Number();
    if (value < kLowestQuality) quality.SetInteger(static_cast<short>(kLowestQuality));
    else if (value > kHighestQuality) quality.SetInteger(static_cast<short>(kHighestQuality));
}

void StoreCrop(const PhotoParts& photo, roster::RosterList roster, TopmostWindow& window,
               const Environment& environment, JpegQuality& quality) noexcept {
    // The still's warning has been seen once the crop is asked for.
    RunOrSkip([&] { photo.still.SetWarning(L""); });
    std::wstring entry;
    bool someoneToPhotograph = TestOrAssumeTrue([&] {
        int count = roster.Count();
        entry = count > 0 ? roster.Text(0) : std::wstring();
        return count > 0 && !roster::IsBlank(entry);
    });
    if (!someoneToPhotograph) {
        Tell(window, environment, kReminderText, kReminderCaption, MB_ICONINFORMATION);
        return;
    }
    if (roster::NameProblem problem = roster::PhotoNameProblem(entry); problem != roster::NameProblem::None) {
        Tell(window, environment,
             problem == roster::NameProblem::TooLong ? TooLongPhotoNameText(entry) : UnusablePhotoNameText(entry),
             kReminderCaption, MB_ICONEXCLAMATION);
        return;
    }
    bool cropped = false;
    RunOrSkip([&] { cropped = photo.session.cropFromPhoto; });
    if (!cropped) {
        Tell(window, environment, kNoCropText, kReminderCaption, MB_ICONINFORMATION);
        return;
    }

    RunOrSkip([&] { WritePreviewBitmap(photo.preview); });
    RunOrSkip([&] { ClampJpegQuality(quality); });
    JpegSaveResult stored;
    try {
        const std::filesystem::path folder = roster::PhotoFolder();
        EncodedPhoto encoded = EncodePhoto(photo, quality);
        stored = encoded.failure.empty()
                     ? ResultAwayFromWindow([&] { return StoreInFolder(folder, entry, encoded.bytes); })
                     : JpegSaveResult{false, PhotoNotStoredText(roster::DisplayPath(roster::PhotoPath(folder, entry)),
                                                                encoded.failure)};
    } catch (...) {
        // No folder to store in (a setting that is no full path, say): the
        // error says why.
        CaughtError error = CurrentError();
        stored = {false, error.kind == CaughtError::Kind::Component ? WideDescription(error) + kPhotoNotStoredText
                                                                    : StoreFailureText(error)};
    }
    if (stored.written) {
        RunOrSkip([&] { roster.Remove(0); });
        return;
    }
    Tell(window, environment, stored.failure, kStoreFailedCaption, MB_ICONEXCLAMATION);
}

}  // namespace vardolin::capture
