#include "devhost/Workbook.h"

#include "win/TextEncoding.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vardolin::devhost {
namespace {

struct Field {
    std::string text;
    bool quoted = false;
};

CellValue ToValue(const Field& field) {
    if (field.quoted) return vardolin::Utf8ToWide(field.text);
    if (field.text.empty()) return std::monostate{};
    double number = 0;
    const char* end = field.text.data() + field.text.size();
    auto [stop, error] = std::from_chars(field.text.data(), end, number);
    if (error == std::errc() && stop == end) return number;
    return vardolin::Utf8ToWide(field.text);
}

// Splits one CSV record starting at `at`; fields in quotes may hold commas,
// doubled quotes and line breaks.
std::vector<Field> ReadRecord(std::string_view text, size_t& at) {
    std::vector<Field> fields(1);
    bool inQuotes = false;
    while (at < text.size()) {
        char c = text[at++];
        Field& field = fields.back();
        if (inQuotes) {
            if (c == '"' && at < text.size() && text[at] == '"') field.text += '"', ++at;
            else if (c == '"') inQuotes = false;
            else field.text += c;
        } else if (c == '"' && field.text.empty()) {
            inQuotes = field.quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            field.text += c;
        }
    }
    return fields;
}

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

std::string_view RestOfLine(std::string_view text, size_t& at) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    return line;
}

}  // namespace

const CellValue& Worksheet::At(const Cell& cell) const {
    static const CellValue empty;
    auto it = cells.find({cell.row, cell.column});
    return it == cells.end() ? empty : it->second;
}

void Worksheet::Set(const Cell& cell, CellValue value) {
    if (std::holds_alternative<std::monostate>(value)) cells.erase({cell.row, cell.column});
    else cells[{cell.row, cell.column}] = std::move(value);
}

Area Worksheet::UsedArea() const {
    if (cells.empty()) return Area{{1, 1}, {1, 1}};
    Area used{{kSheetRows, kSheetColumns}, {1, 1}};
    for (const auto& [position, value] : cells) {
        used.first = {std::min(used.first.row, position.first), std::min(used.first.column, position.second)};
        used.last = {std::max(used.last.row, position.first), std::max(used.last.column, position.second)};
    }
    return used;
}

std::vector<Area> Worksheet::VisibleAreas(const std::vector<Area>& areas) const {
    std::vector<Area> visible;
    for (const Area& area : areas) {
        int bandStart = 0;  // first shown row of the band being gathered, 0 for none
        // Jumps over the shown rows between hidden ones, so whole columns cost
        // only as much as there are hidden rows.
        auto hidden = hiddenRows.lower_bound(area.first.row);
        for (int row = area.first.row; row <= area.last.row;) {
            if (hidden != hiddenRows.end() && *hidden == row) {
                if (bandStart) visible.push_back({{bandStart, area.first.column}, {row - 1, area.last.column}});
                bandStart = 0;
                ++hidden;
                ++row;
                continue;
            }
            if (!bandStart) bandStart = row;
            row = hidden == hiddenRows.end() ? area.last.row + 1 : std::min(*hidden, area.last.row + 1);
        }
        if (bandStart) visible.push_back({{bandStart, area.first.column}, {area.last.row, area.last.column}});
    }
    return visible;
}

namespace {

// "3 5-7": rows 3, 5, 6 and 7.
void HideRows(Worksheet& sheet, std::string_view list) {
    std::istringstream words{std::string(list)};
    std::string word;
    while (words >> word) {
        size_t dash = word.find('-');
        int first = std::stoi(word.substr(0, dash));
        int last = dash == std::string::npos ? first : std::stoi(word.substr(dash + 1));
        for (int row = std::max(first, 1); row <= std::min(last, kSheetRows); ++row) sheet.hiddenRows.insert(row);
    }
}

}  // namespace

Workbook Workbook::FromCsv(std::string_view utf8) {
    if (StartsWith(utf8, 0, "\xEF\xBB\xBF")) utf8.remove_prefix(3);
    Workbook book;
    std::wstring activeName;
    int row = 0;
    size_t at = 0;
    while (at < utf8.size()) {
        if (StartsWith(utf8, at, "#sheet ")) {
            at += 7;
            book.sheets.push_back({vardolin::Utf8ToWide(RestOfLine(utf8, at)), {}, {}});
            row = 0;
            continue;
        }
        if (StartsWith(utf8, at, "#active ")) {
            at += 8;
            activeName = vardolin::Utf8ToWide(RestOfLine(utf8, at));
            continue;
        }
        if (book.sheets.empty()) book.sheets.push_back({L"Sheet1", {}, {}});
        if (StartsWith(utf8, at, "#hidden ")) {
            at += 8;
            HideRows(book.sheets.back(), RestOfLine(utf8, at));
            continue;
        }
        std::vector<Field> fields = ReadRecord(utf8, at);
        ++row;
        for (size_t column = 0; column < fields.size(); ++column)
            book.sheets.back().Set({row, static_cast<int>(column) + 1}, ToValue(fields[column]));
    }
    if (book.sheets.empty()) book.sheets.push_back({L"Sheet1", {}, {}});
    if (!activeName.empty()) book.Activate(activeName);
    return book;
}

Workbook Workbook::LoadCsv(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open the workbook file");
    std::ostringstream content;
    content << in.rdbuf();
    Workbook book = FromCsv(content.str());
    book.name = file.stem().wstring();
    return book;
}

size_t Workbook::SheetIndex(const std::wstring& sheetName) const {
    if (sheetName.empty()) return active_;
    for (size_t i = 0; i < sheets.size(); ++i)
        if (CompareStringOrdinal(sheets[i].name.c_str(), -1, sheetName.c_str(), -1, TRUE) == CSTR_EQUAL) return i;
    throw std::out_of_range("no such sheet");
}

void Workbook::Activate(const std::wstring& sheetName) {
    active_ = SheetIndex(sheetName);
    selection_ = {active_, {Area{{1, 1}, {1, 1}}}};
}

void Workbook::Select(RangeRef range) { selection_ = std::move(range); }

}  // namespace vardolin::devhost
