// What the spreadsheet's macro does:
//     Set o = CreateObject("Vardolin.Class1")
//     o.Form_show Application, ActiveWorkbook, ActiveSheet
#pragma once

#include <oaidl.h>

#include <string>

namespace vardolin::devhost::app {

inline constexpr const wchar_t* kClass1ProgId = L"Vardolin.Class1";

struct MacroOutcome {
    HRESULT result = S_OK;
    std::wstring failure;  // for the user when the call failed
};

MacroOutcome RunFormShowMacro(IDispatch* application, IDispatch* workbook, IDispatch* worksheet,
                              const wchar_t* progId = kClass1ProgId) noexcept;

}  // namespace vardolin::devhost::app
