// Cell addresses in A1 notation: "$A$1", "A1:B3", "Sheet2!A1", whole columns
// "A:C" and whole rows "2:5", and several areas separated by commas.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vardolin::devhost {

// The size of a sheet, as the real host has it.
inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;

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

// "$A$1" or "$A$1:$B$3", areas joined by commas, without sheet name. Whole
// columns read "$A:$C", whole rows "$2:$5" and the whole sheet "$1:$1048576".
std::wstring FormatAddress(const std::vector<Area>& areas);

std::wstring ColumnName(int column);

}  // namespace vardolin::devhost
