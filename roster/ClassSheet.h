// The class sheet: a printable page of every roster entry's photo, and a
// list of the same in CSV, made from what a listing of the photo folder
// found. Plain C++ (text in UTF-8): the files are written by the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vardolin::roster {

// One roster entry on the sheet, in roster order.
struct SheetRow {
    std::string name;                  // the entry as listed
    std::string file;                  // its photo's file name beside the sheet; empty when it has none
    std::optional<int> width, height;  // the JPEG frame's, when it could be read
    uint64_t bytes = 0;
    std::string time;  // the photo file's time, ISO 8601 local
};

// Entries in a cell of the printed sheet: 5 across, 8 down, per A4 page.
inline constexpr int kSheetColumns = 5;
inline constexpr int kSheetRowsPerPage = 8;

// A file name as a relative address: characters an address reads otherwise
// (space, '#', '%', '?' and the like) percent-encoded, the rest as is.
std::string RelativeAddress(std::string_view fileName);

// The HTML page: a table of 5 x 8 cells per A4 page, each the photo (by its
// relative address) or a grey placeholder, and the name.
std::string ClassSheetHtml(std::span<const SheetRow> rows);

// The list: UTF-8 with BOM, CRLF, fields quoted as RFC 4180 asks; the header
// 姓名,文件,状态,宽,高,字节,时间; 状态 已拍 or 缺少; size and time empty
// without a photo.
std::string ClassSheetCsv(std::span<const SheetRow> rows);

struct FrameSize {
    int width, height;
};

// The picture size in a JPEG's frame header (any SOF marker); nullopt when
// the bytes hold no readable one before the scan.
std::optional<FrameSize> JpegFrameSize(std::span<const uint8_t> bytes);

}  // namespace vardolin::roster
