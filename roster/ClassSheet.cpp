#include "roster/ClassSheet.h"

#include <cstdio>

namespace vardolin::roster {
namespace {

constexpr std::string_view kTaken = "已拍";
constexpr std::string_view kMissing = "缺少";

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

constexpr std::string_view kPageStyle = R"(<style>
@page { size: A4 portrait; margin: 10mm; }
body { margin: 0; font-family: "宋体", SimSun, sans-serif; }
table.page { width: 190mm; height: 276mm; border-collapse: collapse; table-layout: fixed;
  page-break-after: always; break-after: page; }
table.last { page-break-after: auto; break-after: auto; }
tr { page-break-inside: avoid; break-inside: avoid; }
td { width: 38mm; height: 34.5mm; padding: 1mm 0 0 0; text-align: center; vertical-align: top; overflow: hidden; }
td img, td .missing { display: block; margin: 0 auto; width: 23mm; height: 27.7mm; }
td .missing { background: #c8c8c8; }
td .name { font-size: 10pt; line-height: 5mm; white-space: pre; overflow: hidden; }
</style>
)";

std::string Cell(const SheetRow& row) {
    std::string name = HtmlEscaped(row.name);
    std::string picture = row.file.empty()
                              ? std::string("<div class=\"missing\"></div>")
                              : "<img src=\"" + HtmlEscaped(RelativeAddress(row.file)) + "\" alt=\"" + name + "\">";
    return "<td>" + picture + "<div class=\"name\">" + name + "</div></td>";
}

std::string CsvField(std::string_view text) {
    bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                  (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) return std::string(text);
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

std::string RelativeAddress(std::string_view fileName) {
    // Besides '%' itself, what would end the path (#, ?), break an attribute
    // or be read as a separator; letters beyond ASCII stay, the page is UTF-8.
    constexpr std::string_view kEncoded = " \"#%<>?[\\]^`{|}";
    std::string out;
    for (unsigned char c : fileName) {
        if (c < 0x20 || c == 0x7F || kEncoded.find(static_cast<char>(c)) != std::string_view::npos) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    // A first segment holding ':' would be read as a scheme.
    if (out.find(':') != std::string::npos) out.insert(0, "./");
    return out;
}

std::string ClassSheetHtml(std::span<const SheetRow> rows) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>照片一览</title>\n";
    html += kPageStyle;
    html += "</head>\n<body>\n";
    constexpr size_t kPerPage = kSheetColumns * kSheetRowsPerPage;
    for (size_t first = 0; first < rows.size(); first += kPerPage) {
        bool last = first + kPerPage >= rows.size();
        html += last ? "<table class=\"page last\">\n" : "<table class=\"page\">\n";
        for (size_t line = 0; line < kSheetRowsPerPage && first + line * kSheetColumns < rows.size(); ++line) {
            html += "<tr>";
            for (size_t column = 0; column < kSheetColumns; ++column) {
                size_t at = first + line * kSheetColumns + column;
                html += at < rows.size() ? Cell(rows[at]) : std::string("<td></td>");
            }
            html += "</tr>\n";
        }
        html += "</table>\n";
    }
    return html + "</body>\n</html>\n";
}

std::string ClassSheetCsv(std::span<const SheetRow> rows) {
    std::string csv = "\xEF\xBB\xBF姓名,文件,状态,宽,高,字节,时间\r\n";
    for (const SheetRow& row : rows) {
        bool taken = !row.file.empty();
        auto number = [&](std::optional<int> value) { return taken && value ? std::to_string(*value) : std::string(); };
        csv += CsvField(row.name) + ',' + CsvField(row.file) + ',' + std::string(taken ? kTaken : kMissing) + ',' +
               number(row.width) + ',' + number(row.height) + ',' + (taken ? std::to_string(row.bytes) : "") + ',' +
               (taken ? CsvField(row.time) : "") + "\r\n";
    }
    return csv;
}

std::optional<FrameSize> JpegFrameSize(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF) return std::nullopt;
        uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // end, or the scan before any frame
        size_t length = (size_t{bytes[at + 2]} << 8) | bytes[at + 3];
        if (length < 2 || at + 2 + length > bytes.size()) return std::nullopt;
        // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7) return std::nullopt;
            int height = (bytes[at + 5] << 8) | bytes[at + 6];
            int width = (bytes[at + 7] << 8) | bytes[at + 8];
            if (width == 0 || height == 0) return std::nullopt;
            return FrameSize{width, height};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace vardolin::roster
