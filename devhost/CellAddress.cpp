#include "CellAddress.h"

#include <algorithm>
#include <cwctype>

namespace vardolin::devhost {
namespace {

constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;

std::wstring Trim(const std::wstring& text) {
    auto begin = text.find_first_not_of(L' ');
    if (begin == std::wstring::npos) return {};
    return text.substr(begin, text.find_last_not_of(L' ') - begin + 1);
}

std::optional<Cell> ParseCell(const std::wstring& text) {
    size_t i = 0;
    auto skipDollar = [&] { if (i < text.size() && text[i] == L'$') ++i; };
    skipDollar();
    int column = 0;
    size_t letters = i;
    while (i < text.size() && std::iswalpha(text[i]) && text[i] < 128) {
        column = column * 26 + (std::towupper(text[i]) - L'A' + 1);
        if (column > kMaxColumn) return std::nullopt;
        ++i;
    }
    if (i == letters) return std::nullopt;
    skipDollar();
    int row = 0;
    size_t digits = i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        row = row * 10 + (text[i] - L'0');
        if (row > kMaxRow) return std::nullopt;
        ++i;
    }
    if (i == digits || i != text.size() || row == 0) return std::nullopt;
    return Cell{row, column};
}

std::optional<Area> ParseArea(const std::wstring& text) {
    auto colon = text.find(L':');
    auto first = ParseCell(text.substr(0, colon));
    if (!first) return std::nullopt;
    auto last = colon == std::wstring::npos ? first : ParseCell(text.substr(colon + 1));
    if (!last) return std::nullopt;
    return Area{{std::min(first->row, last->row), std::min(first->column, last->column)},
                {std::max(first->row, last->row), std::max(first->column, last->column)}};
}

std::wstring FormatCell(const Cell& cell) {
    return L"$" + ColumnName(cell.column) + L"$" + std::to_wstring(cell.row);
}

}  // namespace

std::wstring ColumnName(int column) {
    std::wstring name;
    for (; column > 0; column = (column - 1) / 26) name.insert(name.begin(), static_cast<wchar_t>(L'A' + (column - 1) % 26));
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
        text += FormatCell(area.first);
        if (area.first != area.last) text += L":" + FormatCell(area.last);
    }
    return text;
}

}  // namespace vardolin::devhost
