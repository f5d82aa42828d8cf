#include "devhost/app/GridGeometry.h"

#include <algorithm>

namespace vardolin::devhost::app {

std::optional<Cell> CellAt(const GridOrigin& origin, POINT point) {
    if (point.x < kRowHeaderWidth || point.y < kColumnHeaderHeight) return std::nullopt;
    Cell cell{origin.topRow + (point.y - kColumnHeaderHeight) / kRowHeight,
              origin.leftColumn + (point.x - kRowHeaderWidth) / kColumnWidth};
    cell.row = std::min(cell.row, kLastRow);
    cell.column = std::min(cell.column, kLastColumn);
    return cell;
}

RECT CellRect(const GridOrigin& origin, const Cell& cell) {
    int left = kRowHeaderWidth + (cell.column - origin.leftColumn) * kColumnWidth;
    int top = kColumnHeaderHeight + (cell.row - origin.topRow) * kRowHeight;
    return {left, top, left + kColumnWidth, top + kRowHeight};
}

POINT CellCentre(const GridOrigin& origin, const Cell& cell) {
    RECT r = CellRect(origin, cell);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT AreaRect(const GridOrigin& origin, const Area& area) {
    RECT first = CellRect(origin, area.first);
    RECT last = CellRect(origin, area.last);
    return {first.left, first.top, last.right, last.bottom};
}

Area Span(const Cell& anchor, const Cell& other) {
    return {{std::min(anchor.row, other.row), std::min(anchor.column, other.column)},
            {std::max(anchor.row, other.row), std::max(anchor.column, other.column)}};
}

int VisibleRows(int clientHeight) {
    return std::max(1, (clientHeight - kColumnHeaderHeight + kRowHeight - 1) / kRowHeight);
}

int VisibleColumns(int clientWidth) {
    return std::max(1, (clientWidth - kRowHeaderWidth + kColumnWidth - 1) / kColumnWidth);
}

}  // namespace vardolin::devhost::app
