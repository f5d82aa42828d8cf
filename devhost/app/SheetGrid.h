// The active worksheet as a grid: column letters along the top, row numbers
// down the left, cell values, the host's selection filled, and optionally a
// dashed outline around cells being picked. The user selects cells by
// pressing and dragging the left button; Ctrl adds another area.
#pragma once

#include "win/BaseWindow.h"
#include "devhost/app/Gdi.h"
#include "devhost/app/GridGeometry.h"
#include "devhost/Workbook.h"

#include <functional>
#include <vector>

namespace vardolin::devhost::app {

inline constexpr const wchar_t* kSheetGridClass = L"VardolinSheetGrid";

class SheetGrid : public vardolin::BaseWindow<SheetGrid> {
public:
    // Called while the user selects cells, with the areas selected so far.
    using OnSelect = std::function<void(const std::vector<Area>&)>;

    SheetGrid(HWND parent, int controlId, Workbook& book, OnSelect onSelect);
    ~SheetGrid();
    SheetGrid(const SheetGrid&) = delete;
    SheetGrid& operator=(const SheetGrid&) = delete;

    HWND Window() const noexcept { return window_; }

    // Dashed outline around these areas of the active sheet (empty: none).
    void SetMarquee(std::vector<Area> areas);
    // Redraws after the workbook changed (values, active sheet, selection).
    void Refresh();
    // Back to the top-left corner (after another sheet was activated).
    void ScrollHome();

private:
    friend class vardolin::BaseWindow<SheetGrid>;
    static WNDCLASSEXW WindowClass() noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, const RECT& client);
    void PaintHeaders(HDC dc, const RECT& client);
    void PaintCells(HDC dc, const RECT& client);
    void PaintSelection(HDC dc);
    void PaintSelectionEdge(HDC dc);
    void PaintMarquee(HDC dc);
    void OnButtonDown(POINT at, bool addArea);
    void OnDrag(POINT at);
    void Scroll(int bar, WORD request);
    void ScrollTo(int topRow, int leftColumn);
    void UpdateScrollBars();

    Workbook& book_;
    OnSelect onSelect_;
    GridOrigin origin_;
    std::vector<Area> dragged_;  // what the current press selects
    Cell anchor_{1, 1};
    bool dragging_ = false;
    std::vector<Area> marquee_;
    UniqueFont font_;
    UniqueFont headerFont_;
};

}  // namespace vardolin::devhost::app
