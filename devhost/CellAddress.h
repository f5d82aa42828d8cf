// Cell addresses in A1 notation: "$A$1", "A1:B3", "Sheet2!A1", and several
// areas separated by commas.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vardolin::devhost {

struct Cell {
    int row;     // from 1
    int column;  // from 1 (A)
    bool operator==(const Cell&) const = default;
};

// A rectangle of cells, corners included.
struct Area {
    Cell first;
    Cell last;
    bool operator==(const Area&) const = default;
};

struct ParsedAddress {
    std::wstring sheet;  // empty when the address names no sheet
    std::vector<Area> areas;
};

// Null when the text is no valid address.
std::optional<ParsedAddress> ParseAddress(const std::wstring& text);

// "$A$1" or "$A$1:$B$3", areas joined by commas, without sheet name.
std::wstring FormatAddress(const std::vector<Area>& areas);

std::wstring ColumnName(int column);

}  // namespace vardolin::devhost
