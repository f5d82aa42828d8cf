#include "photo/StoreCrop.h"

#include "BitmapFile.h"
#include "Component.h"
#include "ComponentError.h"
#include "ContinueOnError.h"
#include "GetPIC.h"
#include "MessageBoxSeam.h"
#include "PhotoFiles.h"
#include "photo/CaptureSession.h"
#include "photo/SaveAsJpeg.h"
#include "photo/StoreFailure.h"

#include <cmath>

namespace vardolin::capture {
namespace {

constexpr double kLowestQuality = 30;
constexpr double kHighestQuality = 100;

// Entry 0 of the list; empty when the list is empty.
std::wstring FirstEntry(HWND list) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, 0, 0);
    if (length == LB_ERR || length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

// Message boxes are shown with the window off the top; afterwards it is put
// on top again, whatever the option says.
void Tell(GetPIC& window, const std::wstring& text, const wchar_t* caption, UINT icon) noexcept {
    RunOrSkip([&] { window.Cancel_SetTop(); });
    RunOrSkip([&] { ShowMessageBox(window.Window(), text, caption, MB_OK | icon); });
    RunOrSkip([&] { window.SetTop(); });
}

uint8_t ToByte(double value) {
    double rounded = std::nearbyint(value);
    if (!(rounded >= 0 && rounded <= 255)) throw ComponentError::Overflow();
    return static_cast<uint8_t>(rounded);
}

// The crop preview's drawing, kept as a bitmap beside the library.
void WritePreviewBitmap(GetPIC& window) {
    PictureBox* preview = window.Picture2();
    if (!preview) return;
    RECT inner{};
    GetClientRect(preview->Window(), &inner);
    WriteBitmapFile(LibraryFolder() / L"TmpPhoto.BMP", CopyPixels(preview->ImageDc(), inner.right, inner.bottom));
}

JpegSaveResult StorePhoto(GetPIC& window, const std::filesystem::path& file) noexcept {
    try {
        uint8_t quality = ToByte(window.Owner().jpegQuality.Number());
        PictureBox* preview = window.Picture2();
        if (!preview) throw ComponentError(error_number::kObjectRequired, L"Object required");
        return SaveAsJpeg(file, *preview, true, quality);
    } catch (...) {
        return {false, DescribeCurrentError()};
    }
}

}  // namespace

void ClampJpegQuality(GetPIC& window) {
    JpegQuality& quality = window.Owner().jpegQuality;
    double value = quality.Number();
    if (value < kLowestQuality) quality.SetInteger(static_cast<short>(kLowestQuality));
    else if (value > kHighestQuality) quality.SetInteger(static_cast<short>(kHighestQuality));
}

void Command1_Click(GetPIC& window) noexcept {
    HWND list = window.Control(ControlId::List1);
    std::wstring entry;
    bool someoneToPhotograph = TestOrAssumeTrue([&] {
        LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        entry = FirstEntry(list);
        return (count != LB_ERR && count > 0) & !IsBlank(entry);
    });
    if (!someoneToPhotograph) {
        Tell(window, kReminderText, kReminderCaption, MB_ICONINFORMATION);
        return;
    }
    if (!IsUsablePhotoName(entry)) {
        Tell(window, L"“" + entry + L"”不能用作照片的文件名（不能含有 \\ / : * ? \" < > | 等字符，不能是“..”或设备名）。照片没有保存。",
             kReminderCaption, MB_ICONEXCLAMATION);
        return;
    }
    bool cropped = false;
    RunOrSkip([&] { cropped = SessionOf(window).cropFromPhoto; });
    if (!cropped) {
        Tell(window, kNoCropText, kReminderCaption, MB_ICONINFORMATION);
        return;
    }

    RunOrSkip([&] { WritePreviewBitmap(window); });
    RunOrSkip([&] { ClampJpegQuality(window); });
    RunOrSkip([&] { CreateDirectoryW((LibraryFolder() / L"Pic").c_str(), nullptr); });
    std::filesystem::path file;
    RunOrSkip([&] { file = PhotoPath(entry); });
    JpegSaveResult stored = StorePhoto(window, file);
    if (stored.written) {
        RunOrSkip([&] { SendMessageW(list, LB_DELETESTRING, 0, 0); });
        return;
    }
    RunOrSkip([&] {
        std::wstring notice = UnwritableFolderNotice(file.parent_path());
        if (notice.empty()) notice = L"照片没有保存到“" + DisplayPath(file) + L"”：" + stored.failure + L"。";
        Tell(window, notice, kStoreFailedCaption, MB_ICONEXCLAMATION);
    });
}

}  // namespace vardolin::capture
