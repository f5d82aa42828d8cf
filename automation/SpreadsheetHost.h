// The spreadsheet host as the component uses it: the members of its
// application, range and cell objects, each called late-bound by name (Select
// by its dispatch id), with locale 1033. A call that a busy host refuses is
// made again for a while (RetryWhileHostBusy) and then raises HostBusy; every
// other failure of the host is raised as a ComponentError, for the caller's
// continue-on-error policy to absorb.
#pragma once

#include "automation/LateBinding.h"
#include "automation/Variant.h"

#include <functional>
#include <string>

namespace vardolin {

class SpreadsheetHost {
public:
    using ComPtr = Microsoft::WRL::ComPtr<IDispatch>;

    // DISPID of Range.Select in the host's type library.
    static constexpr DISPID kSelectDispId = 235;
    // InputBox type: the answer is a reference to cells.
    static constexpr long kInputBoxCellReference = 8;
    // SpecialCells type: the cells that are not hidden.
    static constexpr long kCellTypeVisible = 12;

    explicit SpreadsheetHost(IDispatch* application) : application_(application) {}

    // The host's modal cell-picking prompt; the answer is a range, or a value
    // that is not one when the user cancelled.
    Variant InputBox(const std::wstring& prompt, const std::wstring& title);

    // A range's address, without sheet name.
    std::wstring Address(const Variant& range);

    // The range at an address on the active worksheet.
    ComPtr Range(const std::wstring& address);

    // Makes the range the host's selection.
    void Select(IDispatch* range);

    // The host's current selection.
    ComPtr Selection();

    // The cells of a range inside its sheet's used range,
    // Application.Intersect(range, range.Worksheet.UsedRange); null when
    // they do not meet (every cell of the range is empty).
    ComPtr UsedPart(IDispatch* range);

    // The cells of a range that no filter hides,
    // Intersect(range.SpecialCells(xlCellTypeVisible), range) (the host
    // widens a single cell to its whole sheet, hence the intersection); null
    // when every cell is hidden. A host without SpecialCells gives the range.
    ComPtr VisibleCells(IDispatch* range);

    // Visits the cells of a range in the host's enumeration order, until
    // visit returns false.
    void ForEachCell(IDispatch* range, const std::function<bool(const VARIANT& cell)>& visit);

    // A cell's value converted to text.
    std::wstring CellText(const VARIANT& cell);

private:
    // Application.Intersect(first, second); null when they do not meet.
    ComPtr Intersect(IDispatch* first, IDispatch* second);

    IDispatch* application_;
};

}  // namespace vardolin
