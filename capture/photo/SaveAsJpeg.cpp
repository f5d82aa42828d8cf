#include "capture/photo/SaveAsJpeg.h"

#include "encoder/ClsJPEG.h"
#include "win/GdiPictureSource.h"
#include "encoder/MemoryPicture.h"
#include "capture/GetPICTexts.h"
#include "roster/PhotoFiles.h"
#include "win/ComponentError.h"
#include "win/Win32Handles.h"

#include <cmath>
#include <cstdio>

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

// A new file beside the target under a short name of fixed length, so that
// the longest name the target may have still leaves room for it, and unique
// to this store: created only if no file of that name exists.
struct TemporaryFile {
    std::filesystem::path path;
    UniqueFile file;
};

TemporaryFile CreateTemporaryBeside(const std::filesystem::path& folder, DWORD& error) {
    static LONG counter = 0;
    for (int attempt = 0; attempt < 64; ++attempt) {
        unsigned long mixed = static_cast<unsigned long>(GetTickCount64() * 2654435761u) ^
                              (GetCurrentProcessId() << 16) ^
                              static_cast<unsigned long>(InterlockedIncrement(&counter));
        wchar_t name[16];
        swprintf(name, 16, L"~vd%08lX.tmp", mixed & 0xFFFFFFFFul);
        std::filesystem::path path = folder / name;
        UniqueFile file =
            AdoptFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return {std::move(path), std::move(file)};
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

// All the bytes, then through the system's caches onto the disk.
DWORD WriteThrough(HANDLE file, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
    }
    return FlushFileBuffers(file) ? 0 : GetLastError();
}

// A target another program holds open: a sharing violation, or access
// denied on a file that is there and not read-only.
bool HeldOpenElsewhere(DWORD error, const std::filesystem::path& target) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    DWORD attributes = GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
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
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Failed(kFolderOfThatNameText);
        std::optional<std::wstring> stored = roster::StoredFileName(target);
        if (stored && *stored != target.filename().native()) return Failed(OtherPersonsFileText(*stored));
        // These are the files a plain delete would not remove.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            return Failed(kFileNotReplaceableText);
    }
    DWORD error = 0;
    TemporaryFile temporary = CreateTemporaryBeside(target.parent_path(), error);
    if (!temporary.file)
        return Failed(TemporaryFileNotCreatedText(roster::DisplayPath(target.parent_path())) + L"：" +
                      WithoutFullStop(SystemMessage(error ? error : ERROR_GEN_FAILURE)));
    error = WriteThrough(temporary.file.get(), bytes);
    temporary.file.reset();
    // Only a complete file on disk takes the old one's place.
    if (!error &&
        !MoveFileExW(temporary.path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (!error) return {true, {}};
    DeleteFileW(temporary.path.c_str());
    if (HeldOpenElsewhere(error, target)) return Failed(kOpenElsewhereText);
    return Failed(SystemMessage(error));
}

}  // namespace vardolin::capture
