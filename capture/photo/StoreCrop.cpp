#include "capture/photo/StoreCrop.h"

#include "capture/BitmapFile.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "capture/GetPICTexts.h"
#include "roster/PhotoFiles.h"
#include "capture/photo/SaveAsJpeg.h"
#include "capture/photo/DetailCrop.h"
#include "capture/camera/AutoFrameSetting.h"
#include "capture/photo/StoreFailure.h"

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

// The crop preview's drawing, kept as a bitmap beside the library.
void WritePreviewBitmap(PictureBox& preview) {
    RECT inner{};
    GetClientRect(preview.Window(), &inner);
    const std::filesystem::path file = roster::LibraryFolder() / L"TmpPhoto.BMP";
    WriteBitmapFile(file, CopyPixels(preview.ImageDc(), inner.right, inner.bottom));
}

// The crop as the preview shows it at the designed size; from the still's
// full detail when larger photos are wanted and the still holds the detail.
JpegSaveResult StorePhoto(const PhotoParts& photo, const JpegQuality& quality,
                          const std::filesystem::path& file) noexcept {
    try {
        uint8_t byte = ToByte(quality.Number());
        const CaptureSession& session = photo.session;
        if (session.detail) {
            int scale = ScaleHeldBy(*session.detail, PhotoScale());
            if (auto detailed = scale > 1 ? DetailedCrop(*session.detail, session.crop, scale) : std::nullopt)
                return SaveAsJpeg(file, *detailed, true, byte);
        }
        return SaveAsJpeg(file, photo.preview, true, byte);
    } catch (...) {
        return {false, StoreFailureText(CurrentError())};
    }
}

}  // namespace

void ClampJpegQuality(JpegQuality& quality) {
    double value = quality.Number();
    if (value < kLowestQuality) quality.SetInteger(static_cast<short>(kLowestQuality));
    else if (value > kHighestQuality) quality.SetInteger(static_cast<short>(kHighestQuality));
}

void StoreCrop(const PhotoParts& photo, roster::RosterList roster, TopmostWindow& window,
               const Environment& environment, JpegQuality& quality) noexcept {
    std::wstring entry;
    bool someoneToPhotograph = TestOrAssumeTrue([&] {
        int count = roster.Count();
        entry = count > 0 ? roster.Text(0) : std::wstring();
        return (count > 0) & !roster::IsBlank(entry);
    });
    if (!someoneToPhotograph) {
        Tell(window, environment, kReminderText, kReminderCaption, MB_ICONINFORMATION);
        return;
    }
    if (!roster::IsUsablePhotoName(entry)) {
        Tell(window, environment, UnusablePhotoNameText(entry), kReminderCaption, MB_ICONEXCLAMATION);
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
    RunOrSkip([&] { CreateDirectoryW((roster::LibraryFolder() / L"Pic").c_str(), nullptr); });
    std::filesystem::path file;
    RunOrSkip([&] { file = roster::PhotoPath(entry); });
    JpegSaveResult stored = StorePhoto(photo, quality, file);
    if (stored.written) {
        RunOrSkip([&] { roster.Remove(0); });
        return;
    }
    RunOrSkip([&] {
        std::wstring notice = roster::UnwritableFolderNotice(file.parent_path());
        if (notice.empty()) notice = PhotoNotStoredText(roster::DisplayPath(file), stored.failure);
        Tell(window, environment, notice, kStoreFailedCaption, MB_ICONEXCLAMATION);
    });
}

}  // namespace vardolin::capture
