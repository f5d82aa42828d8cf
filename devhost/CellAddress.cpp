#include "devhost/CellAddress.h"

#include <algorithm>
#include <cwctype>

namespace vardolin::devhost {
namespace {

std::wstring Trim(const std::wstring& text) {
    auto begin = text.find_first_not_of(L' ');
    if (begin == std::wstring::npos) return {};
    return text.substr(begin, text.find_last_not_of(L' ') - begin + 1);
}

// The column letters at `i` after an optional '$': 0 when there are none, -1
// beyond the last column.
int ReadColumn(const std::wstring& text, size_t& i) {
    if (i < text.size() && text[i] == L'$') ++i;
    int column = 0;
    for (; i < text.size() && std::iswalpha(text[i]) && text[i] < 128; ++i) {
        column = column * 26 + (std::towupper(text[i]) - L'A' + 1);
        if (column > kSheetColumns) return -1;
    }
    return column;
}

// The row number at `i` after an optional '$': 0 when there is none, -1 for
// row 0 or one beyond the last row.
int ReadRow(const std::wstring& text, size_t& i) {
    if (i < text.size() && text[i] == L'$') ++i;
    size_t digits = i;
    int row = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        row = row * 10 + (text[i] - L'0');
        if (row > kSheetRows) return -1;
    }
    return (i > digits && row == 0) ? -1 : row;
}

// One corner of an area: a cell "B3", a column "B" or a row "3"; the part a
// corner leaves out is 0.
std::optional<Cell> ParseCorner(const std::wstring& text) {
    size_t i = 0;
    int column = ReadColumn(text, i);
    int row = column < 0 ? -1 : ReadRow(text, i);
    if (i != text.size() || row < 0 || column < 0 || (row == 0 && column == 0)) return std::nullopt;
    return Cell{row, column};
}

std::optional<Area> ParseArea(const std::wstring& text) {
    auto colon = text.find(L':');
    auto first = ParseCorner(text.substr(0, colon));
    if (!first) return std::nullopt;
    auto last = colon == std::wstring::npos ? first : ParseCorner(text.substr(colon + 1));
    if (!last) return std::nullopt;
    bool cells = first->row && first->column && last->row && last->column;
    bool columns = !first->row && !last->row && colon != std::wstring::npos;
    bool rows = !first->column && !last->column && colon != std::wstring::npos;
    if (columns) first->row = 1, last->row = kSheetRows;
    else if (rows) first->column = 1, last->column = kSheetColumns;
    else if (!cells) return std::nullopt;
    return Area{{std::min(first->row, last->row), std::min(first->column, last->column)},
                {std::max(first->row, last->row), std::max(first->column, last->column)}};
}

std::wstring FormatCell(const Cell& cell) { return L"$" + ColumnName(cell.column) + L"$" + std::to_wstring(cell.row); }

}  // namespace

std::wstring ColumnName(int column) {
    std::wstring name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<wchar_t>(L'A' + (column - 1) % 26));
    return name;
}

std::optional<ParsedAddress> ParseAddress(const std::wstring& text) {
    ParsedAddress parsed;
    std::wstring rest = Trim(text);
    if (auto bang = rest.rfind(L'!'); bang != std::wstring::npos) {
        parsed.sheet = rest.substr(0, bang);
        if (parsed.sheet.size() >= 2 && parsed.sheet.front() == L'\'' && parsed.sheet.back() == L'\'')
            parsed.sheet = parsed.sheet.substr(1, parsed.sheet.size() - 2);
        rest = rest.substr(bang + 1);
    }
    size_t start = 0;
    for (;;) {
        size_t comma = rest.find(L',', start);
        auto area = ParseArea(Trim(rest.substr(start, comma - start)));
        if (!area) return std::nullopt;
        parsed.areas.push_back(*area);
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return parsed;
}

std::wstring FormatAddress(const std::vector<Area>& areas) {
    std::wstring text;
    for (const Area& area : areas) {
        if (!text.empty()) text += L',';
        bool allRows = area.first.row == 1 && area.last.row == kSheetRows;
        bool allColumns = area.first.column == 1 && area.last.column == kSheetColumns;
        if (allRows && !allColumns) text += L"$" + ColumnName(area.first.column) + L":$" + ColumnName(area.last.column);
        else if (allColumns) text += L"$" + std::to_wstring(area.first.row) + L":$" + std::to_wstring(area.last.row);
        else if (area.first == area.last) text += FormatCell(area.first);
        else text += FormatCell(area.first) + L":" + FormatCell(area.last);
    }
    return text;
}

}  // namespace vardolin::devhost
