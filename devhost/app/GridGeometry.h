// Where cells sit in the sheet grid: fixed row and column sizes, headers
// along the top and left, and a scroll origin (the first visible row and
// column). Shared by the grid and by the walkthrough that clicks on it.
#pragma once

#include "devhost/CellAddress.h"

#include <windows.h>

#include <optional>

namespace vardolin::devhost::app {

inline constexpr int kRowHeaderWidth = 44;
inline constexpr int kColumnHeaderHeight = 24;
inline constexpr int kColumnWidth = 120;
inline constexpr int kRowHeight = 26;

// The largest row and column the grid scrolls to.
inline constexpr int kLastRow = 9999;
inline constexpr int kLastColumn = 200;

struct GridOrigin {
    int topRow = 1;
    int leftColumn = 1;
};

// The cell under a point of the grid's client area; none over the headers.
std::optional<Cell> CellAt(const GridOrigin& origin, POINT point);

// A cell's rectangle in the client area (it may lie outside it).
RECT CellRect(const GridOrigin& origin, const Cell& cell);

// The centre of a cell, where a click selects it.
POINT CellCentre(const GridOrigin& origin, const Cell& cell);

// The rectangle covering an area's cells.
RECT AreaRect(const GridOrigin& origin, const Area& area);

// The area spanned by two corner cells given in any order.
Area Span(const Cell& anchor, const Cell& other);

// Rows and columns that fit (at least partly) into a client area.
int VisibleRows(int clientHeight);
int VisibleColumns(int clientWidth);

}  // namespace vardolin::devhost::app
