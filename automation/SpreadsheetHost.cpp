#include "automation/SpreadsheetHost.h"

#include "automation/BusyHost.h"

namespace vardolin {

namespace lb = late_binding;

namespace {
// The host's error for a SpecialCells call that finds no cell.
constexpr long kNoCellsFound = 1004;
}  // namespace

Variant SpreadsheetHost::InputBox(const std::wstring& prompt, const std::wstring& title) {
    return RetryWhileHostBusy([&] {
        // Prompt, Title, Default, Left, Top, HelpFile, HelpContextID, Type.
        return lb::Call(application_, L"InputBox",
                        {Variant(prompt), Variant(title), Variant::Missing(), Variant::Missing(), Variant::Missing(),
                         Variant::Missing(), Variant::Missing(), Variant(kInputBoxCellReference)});
    });
}

std::wstring SpreadsheetHost::Address(const Variant& range) {
    ComPtr object = lb::ToObject(range);
    return RetryWhileHostBusy([&] { return ToText(lb::Get(object.Get(), L"Address").get()); });
}

SpreadsheetHost::ComPtr SpreadsheetHost::Range(const std::wstring& address) {
    return lb::ToObject(RetryWhileHostBusy([&] { return lb::Call(application_, L"Range", {Variant(address)}); }));
}

void SpreadsheetHost::Select(IDispatch* range) {
    RetryWhileHostBusy([&] { lb::Invoke(range, kSelectDispId, DISPATCH_METHOD | DISPATCH_PROPERTYGET); });
}

SpreadsheetHost::ComPtr SpreadsheetHost::Selection() {
    return lb::ToObject(RetryWhileHostBusy([&] { return lb::Get(application_, L"Selection"); }));
}

SpreadsheetHost::ComPtr SpreadsheetHost::UsedPart(IDispatch* range) {
    ComPtr sheet = lb::ToObject(RetryWhileHostBusy([&] { return lb::Get(range, L"Worksheet"); }));
    ComPtr used = lb::ToObject(RetryWhileHostBusy([&] { return lb::Get(sheet.Get(), L"UsedRange"); }));
    return Intersect(range, used.Get());
}

SpreadsheetHost::ComPtr SpreadsheetHost::VisibleCells(IDispatch* range) {
    DISPID specialCells = DISPID_UNKNOWN;
    try {
        specialCells = lb::DispIdOf(range, L"SpecialCells");
    } catch (const ComponentError&) {
        return ComPtr(range);  // a host without filters shows every cell
    }
    Variant visible;
    try {
        visible = RetryWhileHostBusy([&] {
            return lb::Invoke(range, specialCells, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Variant(kCellTypeVisible)});
        });
    } catch (const ComponentError& error) {
        // "No cells were found": the filter hides them all.
        if (error.number() == kNoCellsFound) return ComPtr();
        throw;
    }
    return Intersect(lb::ToObject(visible).Get(), range);
}

SpreadsheetHost::ComPtr SpreadsheetHost::Intersect(IDispatch* first, IDispatch* second) {
    Variant shared = RetryWhileHostBusy([&] {
        return lb::Call(application_, L"Intersect", {Variant(first), Variant(second)});
    });
    const VARIANT& v = shared.get();
    bool nothing = v.vt == VT_EMPTY || ((v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && !v.punkVal);
    return nothing ? ComPtr() : lb::ToObject(shared);
}

void SpreadsheetHost::ForEachCell(IDispatch* range, const std::function<bool(const VARIANT& cell)>& visit) {
    Microsoft::WRL::ComPtr<IEnumVARIANT> cells = RetryWhileHostBusy([&] { return lb::Enumerator(range); });
    for (;;) {
        Variant cell;
        if (!RetryWhileHostBusy([&] { return lb::NextItem(cells.Get(), cell); }) || !visit(cell.get())) return;
    }
}

std::wstring SpreadsheetHost::CellText(const VARIANT& cell) {
    Variant holder;
    VariantCopyInd(holder.put(), const_cast<VARIANT*>(&cell));
    ComPtr object = lb::ToObject(holder);
    return RetryWhileHostBusy([&] { return ToText(lb::Get(object.Get(), L"Value").get()); });
}

}  // namespace vardolin
