// The stand-in host's main window: a workbook's active sheet as a grid, sheet
// tabs, a name box with the selection's address, and the command that runs
// the spreadsheet's macro (Vardolin.Class1.Form_show). The host's InputBox of
// type 8 shows the range picker over this window.
#pragma once

#include "win/BaseWindow.h"
#include "devhost/app/Gdi.h"
#include "devhost/Host.h"
#include "devhost/app/RangePicker.h"
#include "devhost/app/SheetGrid.h"

#include <memory>
#include <optional>
#include <string>

namespace vardolin::devhost::app {

inline constexpr const wchar_t* kHostWindowClass = L"VardolinDevHost";

enum HostControl : int {
    kRunMacroButton = 10,
    kOpenButton = 11,
    kNameBox = 12,
    kSheetTabs = 13,
    kGrid = 14,
};

class HostWindow : public vardolin::BaseWindow<HostWindow> {
public:
    explicit HostWindow(Workbook book);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Window() const noexcept { return window_; }
    Host& Model() noexcept { return host_; }
    SheetGrid& Grid() noexcept { return *grid_; }

    // Runs the macro: creates Vardolin.Class1 and calls Form_show with this
    // host's application, workbook and active sheet. Failures are shown.
    void RunMacro();
    // Replaces the workbook with one read from a CSV file; the host's
    // objects stay the same (the component keeps them).
    void OpenWorkbook(const std::wstring& file);

private:
    friend class vardolin::BaseWindow<HostWindow>;
    static WNDCLASSEXW WindowClass() noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void Layout();
    void OnCommand(int id);
    void OnGridSelect(const std::vector<Area>& areas);
    void OnSheetTab();
    void ChooseWorkbook();
    void ShowWorkbook();
    void ShowSelection();
    std::optional<std::wstring> PickRange(const std::wstring& prompt, const std::wstring& title);
    bool IsValidAddress(const std::wstring& text);
    void CloseComponentWindows();
    void Report(const std::wstring& text, UINT icon);

    Host host_;
    UniqueFont font_;
    std::unique_ptr<SheetGrid> grid_;
    RangePicker* picker_ = nullptr;  // the range picker while it is up
    RangeRef shownSelection_{};
};

}  // namespace vardolin::devhost::app
