#include "capture/photo/ClassSheetCommand.h"

#include "capture/GetPICTexts.h"
#include "capture/photo/SaveAsJpeg.h"
#include "roster/ClassSheet.h"
#include "roster/PhotoFiles.h"
#include "roster/PhotoListing.h"
#include "win/BackgroundWork.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "win/TextEncoding.h"
#include "win/Win32Handles.h"

#include <cstdio>
#include <map>

namespace vardolin::capture {
namespace {

namespace fs = std::filesystem;

// Enough for any header a camera or an editor puts before the frame.
constexpr DWORD kHeaderBytes = 256 * 1024;

std::optional<roster::FrameSize> FrameSizeOf(const fs::path& file) {
    UniqueFile handle = AdoptFile(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle) return std::nullopt;
    std::vector<uint8_t> bytes(kHeaderBytes);
    DWORD read = 0;
    if (!ReadFile(handle.get(), bytes.data(), kHeaderBytes, &read, nullptr)) return std::nullopt;
    bytes.resize(read);
    return roster::JpegFrameSize(bytes);
}

std::string LocalIsoTime(const FILETIME& written) {
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&written, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return {};
    char text[24];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute, local.wSecond);
    return text;
}

// The sheet's rows from one listing of the folder; each photo's header is
// read once, however often its name is listed.
std::vector<roster::SheetRow> SheetRows(const fs::path& folder, const std::vector<std::wstring>& entries) {
    roster::PhotoListing listing = roster::ListPhotoFolder(folder);
    std::map<std::wstring, std::optional<roster::FrameSize>> sizes;
    std::vector<roster::SheetRow> rows;
    for (const std::wstring& entry : entries) {
        roster::SheetRow row{WideToUtf8(entry), {}, {}, {}, 0, {}};
        if (const roster::ListedFile* photo = roster::ListedPhoto(listing, entry)) {
            std::wstring name = entry + L".jpg";
            auto [at, fresh] = sizes.try_emplace(name);
            if (fresh) at->second = FrameSizeOf(folder / name);
            row.file = WideToUtf8(name);
            if (at->second) row.width = at->second->width, row.height = at->second->height;
            row.bytes = photo->bytes;
            row.time = LocalIsoTime(photo->written);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Writes both files; empty on success, else what the user reads.
std::wstring WriteSheet(const fs::path& folder, const std::vector<std::wstring>& entries) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<roster::SheetRow> rows = SheetRows(folder, entries);
    const std::pair<const wchar_t*, std::string> files[] = {{kClassSheetListName, roster::ClassSheetCsv(rows)},
                                                            {kClassSheetPageName, roster::ClassSheetHtml(rows)}};
    for (const auto& [name, text] : files) {
        JpegSaveResult written = WritePhotoFile(folder / name, Bytes(text));
        if (written.written) continue;
        if (DWORD error = roster::FolderWriteError(folder))
            return PhotoFolderNotWritableText(roster::DisplayPath(folder), SystemMessage(error));
        return ClassSheetNotWrittenText(roster::DisplayPath(folder / name), written.failure);
    }
    return {};
}

void Tell(TopmostWindow& window, const Environment& environment, const std::wstring& text, UINT icon) noexcept {
    RunOrSkip([&] { window.Cancel_SetTop(); });
    RunOrSkip([&] { environment.ShowMessageBox(window.Window(), text, kClassSheetCaption, MB_OK | icon); });
    RunOrSkip([&] { window.SetTop(); });
}

}  // namespace

void MakeClassSheet(roster::RosterList roster, TopmostWindow& window, const Environment& environment) noexcept {
    std::wstring notice;
    try {
        std::vector<std::wstring> entries = roster.Texts();
        if (entries.empty()) return Tell(window, environment, kReminderText, MB_ICONINFORMATION);
        const fs::path folder = roster::PhotoFolder();
        notice = ResultAwayFromWindow([&] {
            std::wstring failure = WriteSheet(folder, entries);
            if (!failure.empty()) return failure;
            std::wstring page = roster::DisplayPath(folder / kClassSheetPageName);
            return environment.documentOpener(page) ? std::wstring() : ClassSheetNotOpenedText(page);
        });
    } catch (...) {
        notice = WideDescription(CurrentError());
    }
    if (!notice.empty()) Tell(window, environment, notice, MB_ICONEXCLAMATION);
}

}  // namespace vardolin::capture
