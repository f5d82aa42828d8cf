#include "SpreadsheetHost.h"

#include "BusyHost.h"

namespace vardolin {

namespace lb = late_binding;

Variant SpreadsheetHost::InputBox(const std::wstring& prompt, const std::wstring& title) {
    return RetryWhileHostBusy([&] {
        // Prompt, Title, Default, Left, Top, HelpFile, HelpContextID, Type.
        return lb::Call(application_, L"InputBox",
                        {Variant(prompt), Variant(title), Variant::Missing(), Variant::Missing(),
                         Variant::Missing(), Variant::Missing(), Variant::Missing(),
                         Variant(kInputBoxCellReference)});
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
    Variant shared = RetryWhileHostBusy(
        [&] { return lb::Call(application_, L"Intersect", {Variant(range), Variant(used.Get())}); });
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
