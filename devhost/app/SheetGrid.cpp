#include "devhost/app/SheetGrid.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace vardolin::devhost::app {
namespace {

constexpr COLORREF kGridLine = RGB(218, 220, 224);
constexpr COLORREF kHeaderFill = RGB(240, 241, 243);
constexpr COLORREF kHeaderText = RGB(70, 70, 70);
constexpr COLORREF kSelectionFill = RGB(214, 230, 250);
constexpr COLORREF kSelectionEdge = RGB(33, 115, 70);
constexpr COLORREF kMarqueeEdge = RGB(20, 90, 200);
// Rows a filter hides stay in place here, drawn faint.
constexpr COLORREF kHiddenRowText = RGB(185, 185, 185);

std::wstring DisplayText(const CellValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
    if (const auto* number = std::get_if<double>(&value)) {
        wchar_t buffer[64];
        if (std::nearbyint(*number) == *number && std::fabs(*number) < 1e15) swprintf(buffer, 64, L"%.0f", *number);
        else swprintf(buffer, 64, L"%.15g", *number);
        return buffer;
    }
    return {};
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Outline(HDC dc, RECT r, COLORREF colour, int width, int style = PS_SOLID) {
    UniquePen pen(CreatePen(style, style == PS_SOLID ? width : 1, colour));
    ScopedSelection usePen(dc, pen.get());
    ScopedSelection noFill(dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < width; ++i) {
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        InflateRect(&r, -1, -1);
        if (style == PS_SOLID) break;
    }
}

}  // namespace

SheetGrid::SheetGrid(HWND parent, int controlId, Workbook& book, OnSelect onSelect)
    : book_(book), onSelect_(std::move(onSelect)), font_(CreateSheetFont(16)), headerFont_(CreateMessageFont()) {
    RegisterWindowClass();
    CreateWindowExW(WS_EX_CLIENTEDGE, kSheetGridClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 100,
                    100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr),
                    this);
}

SheetGrid::~SheetGrid() {
    if (window_) DestroyWindow(window_);
}

void SheetGrid::SetMarquee(std::vector<Area> areas) {
    marquee_ = std::move(areas);
    InvalidateRect(window_, nullptr, FALSE);
}

void SheetGrid::Refresh() {
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, FALSE);
}

void SheetGrid::ScrollHome() { ScrollTo(1, 1); }

WNDCLASSEXW SheetGrid::WindowClass() noexcept { return vardolin::NamedWindowClass(kSheetGridClass, IDC_CROSS); }

LRESULT SheetGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        RECT client;
        GetClientRect(window_, &client);
        // Drawn off screen first: no flicker while dragging.
        UniqueMemoryDc buffer(CreateCompatibleDC(dc));
        UniqueBitmap bitmap(
            CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)));
        {
            ScopedSelection useBitmap(buffer.get(), bitmap.get());
            Paint(buffer.get(), client);
            BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
        }
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: UpdateScrollBars(); return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window_);
        OnButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_CONTROL) != 0);
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_ && (wParam & MK_LBUTTON)) OnDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) OnDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        dragging_ = false;
        if (GetCapture() == window_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED: dragging_ = false; return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: Scroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(origin_.topRow - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3, origin_.leftColumn);
        return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void SheetGrid::Paint(HDC dc, const RECT& client) {
    Fill(dc, client, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    PaintSelection(dc);
    PaintCells(dc, client);
    PaintHeaders(dc, client);
    PaintSelectionEdge(dc);
    PaintMarquee(dc);
}

void SheetGrid::PaintHeaders(HDC dc, const RECT& client) {
    ScopedSelection useFont(dc, headerFont_.get());
    SetTextColor(dc, kHeaderText);
    Fill(dc, {0, 0, client.right, kColumnHeaderHeight}, kHeaderFill);
    Fill(dc, {0, 0, kRowHeaderWidth, client.bottom}, kHeaderFill);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < VisibleColumns(client.right); ++i) {
        int column = origin_.leftColumn + i;
        RECT r = CellRect(origin_, {origin_.topRow, column});
        r.top = 0, r.bottom = kColumnHeaderHeight;
        std::wstring name = ColumnName(column);
        DrawTextW(dc, name.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        Fill(dc, {r.right - 1, 0, r.right, kColumnHeaderHeight}, kGridLine);
    }
    for (int i = 0; i < VisibleRows(client.bottom); ++i) {
        int row = origin_.topRow + i;
        RECT r = CellRect(origin_, {row, origin_.leftColumn});
        r.left = 0, r.right = kRowHeaderWidth;
        bool hidden = !book_.sheets.empty() && book_.sheets.at(book_.ActiveSheet()).hiddenRows.contains(row);
        SetTextColor(dc, hidden ? kHiddenRowText : kHeaderText);
        std::wstring number = std::to_wstring(row);
        DrawTextW(dc, number.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        Fill(dc, {0, r.bottom - 1, kRowHeaderWidth, r.bottom}, kGridLine);
    }
    Fill(dc, {0, kColumnHeaderHeight - 1, client.right, kColumnHeaderHeight}, kGridLine);
    Fill(dc, {kRowHeaderWidth - 1, 0, kRowHeaderWidth, client.bottom}, kGridLine);
}

void SheetGrid::PaintCells(HDC dc, const RECT& client) {
    for (int i = 1; i <= VisibleColumns(client.right); ++i) {
        int x = kRowHeaderWidth + i * kColumnWidth - 1;
        Fill(dc, {x, 0, x + 1, client.bottom}, kGridLine);
    }
    for (int i = 1; i <= VisibleRows(client.bottom); ++i) {
        int y = kColumnHeaderHeight + i * kRowHeight - 1;
        Fill(dc, {0, y, client.right, y + 1}, kGridLine);
    }
    if (book_.sheets.empty()) return;
    ScopedSelection useFont(dc, font_.get());
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const Worksheet& sheet = book_.sheets.at(book_.ActiveSheet());
    for (const auto& [position, value] : sheet.cells) {
        Cell cell{position.first, position.second};
        if (cell.row < origin_.topRow || cell.column < origin_.leftColumn) continue;
        RECT r = CellRect(origin_, cell);
        if (r.top >= client.bottom || r.left >= client.right) continue;
        InflateRect(&r, -4, 0);
        SetTextColor(dc, sheet.hiddenRows.contains(cell.row) ? kHiddenRowText : RGB(0, 0, 0));
        UINT align = std::holds_alternative<double>(value) ? DT_RIGHT : DT_LEFT;
        std::wstring text = DisplayText(value);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void SheetGrid::PaintSelection(HDC dc) {
    const RangeRef& selection = book_.Selection();
    if (selection.sheet != book_.ActiveSheet()) return;
    for (const Area& area : selection.areas) Fill(dc, AreaRect(origin_, area), kSelectionFill);
}

// Drawn over the headers: the edge of a selection in the first column shows.
void SheetGrid::PaintSelectionEdge(HDC dc) {
    const RangeRef& selection = book_.Selection();
    if (selection.sheet == book_.ActiveSheet() && selection.areas.size() == 1) {
        RECT r = AreaRect(origin_, selection.areas.front());
        InflateRect(&r, 1, 1);
        Outline(dc, r, kSelectionEdge, 2);
    }
}

void SheetGrid::PaintMarquee(HDC dc) {
    for (const Area& area : marquee_) {
        RECT r = AreaRect(origin_, area);
        InflateRect(&r, 1, 1);
        Outline(dc, r, kMarqueeEdge, 2, PS_DASH);
    }
}

void SheetGrid::OnButtonDown(POINT at, bool addArea) {
    std::optional<Cell> cell = CellAt(origin_, at);
    if (!cell) return;
    anchor_ = *cell;
    if (!addArea) dragged_.clear();
    dragged_.push_back({*cell, *cell});
    dragging_ = true;
    SetCapture(window_);
    if (onSelect_) onSelect_(dragged_);
    InvalidateRect(window_, nullptr, FALSE);
}

void SheetGrid::OnDrag(POINT at) {
    if (dragged_.empty()) return;
    RECT client;
    GetClientRect(window_, &client);
    // Beyond the headers the pointer still means the first row or column shown.
    at.x = std::max<LONG>(at.x, kRowHeaderWidth);
    at.y = std::max<LONG>(at.y, kColumnHeaderHeight);
    std::optional<Cell> cell = CellAt(origin_, at);
    if (!cell) return;
    Area area = Span(anchor_, *cell);
    if (dragged_.back() == area) return;
    dragged_.back() = area;
    if (onSelect_) onSelect_(dragged_);
    InvalidateRect(window_, nullptr, FALSE);
}

void SheetGrid::Scroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, bar, &info);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: --position; break;
    case SB_LINEDOWN: ++position; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    if (bar == SB_VERT) ScrollTo(position, origin_.leftColumn);
    else ScrollTo(origin_.topRow, position);
}

void SheetGrid::ScrollTo(int topRow, int leftColumn) {
    GridOrigin next{std::clamp(topRow, 1, kLastRow), std::clamp(leftColumn, 1, kLastColumn)};
    if (next.topRow == origin_.topRow && next.leftColumn == origin_.leftColumn) return;
    origin_ = next;
    Refresh();
}

void SheetGrid::UpdateScrollBars() {
    RECT client;
    GetClientRect(window_, &client);
    auto set = [&](int bar, int last, int page, int position) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 1, info.nMax = last, info.nPage = static_cast<UINT>(page), info.nPos = position;
        SetScrollInfo(window_, bar, &info, TRUE);
    };
    // The bars span the used cells and one screen more, as far as scrolled.
    Cell used{1, 1};
    if (!book_.sheets.empty())
        for (const auto& [position, value] : book_.sheets.at(book_.ActiveSheet()).cells)
            used = {std::max(used.row, position.first), std::max(used.column, position.second)};
    int rows = VisibleRows(client.bottom), columns = VisibleColumns(client.right);
    set(SB_VERT, std::min(kLastRow, std::max(used.row, origin_.topRow) + rows), rows, origin_.topRow);
    set(SB_HORZ, std::min(kLastColumn, std::max(used.column, origin_.leftColumn) + columns), columns,
        origin_.leftColumn);
}

}  // namespace vardolin::devhost::app
