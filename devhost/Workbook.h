// The stand-in host's data: a workbook of named sheets holding numbers and
// texts, one active sheet, and the current selection.
#pragma once

#include "devhost/CellAddress.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vardolin::devhost {

// An empty cell, a number or a text.
using CellValue = std::variant<std::monostate, double, std::wstring>;

struct Worksheet {
    std::wstring name;
    std::map<std::pair<int, int>, CellValue> cells;  // (row, column)
    std::set<int> hiddenRows;                        // rows a filter hides

    const CellValue& At(const Cell& cell) const;
    void Set(const Cell& cell, CellValue value);

    // The smallest area holding every cell that is not empty; A1 for an
    // empty sheet. The host's UsedRange.
    Area UsedArea() const;

    // The cells of the areas that are in rows not hidden, each area split
    // into bands of adjacent shown rows. The host's
    // SpecialCells(xlCellTypeVisible).
    std::vector<Area> VisibleAreas(const std::vector<Area>& areas) const;
};

// Cells of one sheet.
struct RangeRef {
    size_t sheet;
    std::vector<Area> areas;
};

class Workbook {
public:
    // UTF-8 CSV, one row per line. A line "#sheet Name" starts a sheet (the
    // first sheet is "Sheet1" when the text starts with cells); a line
    // "#active Name" makes that sheet the active one (default: the first); a
    // line "#hidden 3 5-7" hides those rows of the current sheet, as a
    // filter does.
    // Unquoted fields that read as numbers are numbers, others are texts kept
    // exactly, spaces included; empty unquoted fields are empty cells.
    static Workbook FromCsv(std::string_view utf8);
    static Workbook LoadCsv(const std::filesystem::path& file);

    std::wstring name = L"Book1";
    std::vector<Worksheet> sheets;

    size_t ActiveSheet() const noexcept { return active_; }
    // Activating a sheet makes its top-left cell the selection.
    void Activate(const std::wstring& sheetName);
    const RangeRef& Selection() const noexcept { return selection_; }
    void Select(RangeRef range);

    // The sheet of that name (or the active one for an empty name); throws
    // std::out_of_range when there is none.
    size_t SheetIndex(const std::wstring& sheetName) const;

private:
    size_t active_ = 0;
    RangeRef selection_{0, {Area{{1, 1}, {1, 1}}}};
};

}  // namespace vardolin::devhost
