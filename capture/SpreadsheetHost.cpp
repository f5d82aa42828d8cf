#include "SpreadsheetHost.h"

namespace vardolin::capture {

namespace lb = late_binding;

Variant SpreadsheetHost::InputBox(const std::wstring& prompt, const std::wstring& title) {
    // Prompt, Title, Default, Left, Top, HelpFile, HelpContextID, Type.
    return lb::Call(application_, L"InputBox",
                    {Variant(prompt), Variant(title), Variant::Missing(), Variant::Missing(),
                     Variant::Missing(), Variant::Missing(), Variant::Missing(),
                     Variant(kInputBoxCellReference)});
}

std::wstring SpreadsheetHost::Address(const Variant& range) {
    return ToText(lb::Get(lb::ToObject(range).Get(), L"Address").get());
}

SpreadsheetHost::ComPtr SpreadsheetHost::Range(const std::wstring& address) {
    return lb::ToObject(lb::Call(application_, L"Range", {Variant(address)}));
}

void SpreadsheetHost::Select(IDispatch* range) {
    lb::Invoke(range, kSelectDispId, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
}

SpreadsheetHost::ComPtr SpreadsheetHost::Selection() {
    return lb::ToObject(lb::Get(application_, L"Selection"));
}

void SpreadsheetHost::ForEachCell(IDispatch* range,
                                  const std::function<bool(const VARIANT& cell)>& visit) {
    lb::ForEach(range, visit);
}

std::wstring SpreadsheetHost::CellText(const VARIANT& cell) {
    Variant holder;
    VariantCopyInd(holder.put(), const_cast<VARIANT*>(&cell));
    return ToText(lb::Get(lb::ToObject(holder).Get(), L"Value").get());
}

}  // namespace vardolin::capture
