#include "devhost/app/HostWindow.h"

#include "devhost/app/FormShowMacro.h"

#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>

namespace vardolin::devhost::app {
namespace {

constexpr int kBarHeight = 44;
constexpr int kTabHeight = 30;
constexpr UINT_PTR kSelectionTimer = 1;
constexpr UINT kSelectionPollMs = 200;

bool SameRange(const RangeRef& a, const RangeRef& b) { return a.sheet == b.sheet && a.areas == b.areas; }

// Windows with a caption that other code (the component) opened on this
// thread: what the user sees and would close.
BOOL CALLBACK CloseCaptionedWindow(HWND window, LPARAM host) {
    bool captioned = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    if (window != reinterpret_cast<HWND>(host) && captioned && !GetWindow(window, GW_OWNER))
        SendMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

HostWindow::HostWindow(Workbook book) : host_(std::move(book)), font_(CreateMessageFont()) {
    RegisterWindowClass();
    CreateWindowExW(WS_EX_CONTROLPARENT, kHostWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 900, 640,
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) throw std::runtime_error("cannot create the host window");
    CreateControls();
    host_.AnswerInputBox(
        [this](const std::wstring& prompt, const std::wstring& title) { return PickRange(prompt, title); });
    ShowWorkbook();
    SetTimer(window_, kSelectionTimer, kSelectionPollMs, nullptr);
}

HostWindow::~HostWindow() {
    host_.AnswerInputBox(nullptr);  // the component may outlive this window
    if (window_) DestroyWindow(window_);
}

void HostWindow::CreateControls() {
    auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
        HWND control =
            CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return control;
    };
    add(L"BUTTON", L"Run macro: Photograph roster", WS_TABSTOP | BS_PUSHBUTTON, 0, kRunMacroButton);
    add(L"BUTTON", L"Open workbook...", WS_TABSTOP | BS_PUSHBUTTON, 0, kOpenButton);
    add(L"EDIT", L"", ES_READONLY | ES_CENTER, WS_EX_CLIENTEDGE, kNameBox);
    add(WC_TABCONTROLW, L"", TCS_BOTTOM | TCS_FOCUSNEVER | WS_CLIPSIBLINGS, 0, kSheetTabs);
    grid_ = std::make_unique<SheetGrid>(window_, kGrid, host_.Book(),
                                        [this](const std::vector<Area>& areas) { OnGridSelect(areas); });
    Layout();
}

void HostWindow::Layout() {
    RECT client;
    GetClientRect(window_, &client);
    MoveWindow(GetDlgItem(window_, kNameBox), 8, 10, 150, 26, TRUE);
    MoveWindow(GetDlgItem(window_, kRunMacroButton), 170, 8, 230, 30, TRUE);
    MoveWindow(GetDlgItem(window_, kOpenButton), 410, 8, 140, 30, TRUE);
    int gridBottom = client.bottom - kTabHeight;
    MoveWindow(GetDlgItem(window_, kSheetTabs), 0, gridBottom - 2, client.right, kTabHeight + 2, TRUE);
    // The range picker's bar covers the command bar and pushes the sheet down.
    int gridTop = kBarHeight;
    if (picker_) {
        MoveWindow(picker_->Window(), 0, 0, client.right, kRangePickerHeight, TRUE);
        gridTop = kRangePickerHeight;
    }
    if (grid_) MoveWindow(grid_->Window(), 0, gridTop, client.right, gridBottom - gridTop, TRUE);
}

void HostWindow::ShowWorkbook() {
    Workbook& book = host_.Book();
    std::wstring title = book.name + L" - Vardolin stand-in host";
    SetWindowTextW(window_, title.c_str());
    HWND tabs = GetDlgItem(window_, kSheetTabs);
    TabCtrl_DeleteAllItems(tabs);
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = book.sheets[i].name.data();
        TabCtrl_InsertItem(tabs, static_cast<int>(i), &item);
    }
    TabCtrl_SetCurSel(tabs, static_cast<int>(book.ActiveSheet()));
    grid_->ScrollHome();
    ShowSelection();
}

void HostWindow::ShowSelection() {
    const RangeRef& selection = host_.Book().Selection();
    shownSelection_ = selection;
    std::wstring address = FormatAddress(selection.areas);
    // Only the first cell, as spreadsheets do, unless the address fits.
    if (address.size() > 20)
        address = FormatAddress({Area{selection.areas.front().first, selection.areas.front().first}});
    SetDlgItemTextW(window_, kNameBox, address.c_str());
    grid_->Refresh();
}

void HostWindow::OnGridSelect(const std::vector<Area>& areas) {
    if (picker_) {
        picker_->ShowPicked(FormatAddress(areas));
        grid_->SetMarquee(areas);
        return;
    }
    host_.Book().Select({host_.Book().ActiveSheet(), areas});
    ShowSelection();
}

void HostWindow::OnSheetTab() {
    Workbook& book = host_.Book();
    int chosen = TabCtrl_GetCurSel(GetDlgItem(window_, kSheetTabs));
    if (chosen < 0 || static_cast<size_t>(chosen) >= book.sheets.size()) return;
    book.Activate(book.sheets[static_cast<size_t>(chosen)].name);
    grid_->SetMarquee({});
    grid_->ScrollHome();
    ShowSelection();
}

std::optional<std::wstring> HostWindow::PickRange(const std::wstring& prompt, const std::wstring& title) {
    if (picker_) return std::nullopt;  // one at a time
    RangePicker picker(window_, prompt, title, [this](const std::wstring& text) { return IsValidAddress(text); });
    picker_ = &picker;
    EnableWindow(GetDlgItem(window_, kRunMacroButton), FALSE);
    EnableWindow(GetDlgItem(window_, kOpenButton), FALSE);
    Layout();
    std::optional<std::wstring> answer = picker.Run();
    picker_ = nullptr;
    EnableWindow(GetDlgItem(window_, kRunMacroButton), TRUE);
    EnableWindow(GetDlgItem(window_, kOpenButton), TRUE);
    grid_->SetMarquee({});
    Layout();
    return answer;
}

bool HostWindow::IsValidAddress(const std::wstring& text) {
    std::optional<ParsedAddress> parsed = ParseAddress(text);
    if (!parsed) return false;
    try {
        host_.Book().SheetIndex(parsed->sheet);
        return true;
    } catch (const std::out_of_range&) {
        return false;
    }
}

void HostWindow::RunMacro() {
    if (picker_) return;
    MacroOutcome outcome =
        RunFormShowMacro(host_.Application().Get(), host_.ActiveWorkbook().Get(), host_.ActiveSheet().Get());
    if (FAILED(outcome.result)) Report(outcome.failure, MB_ICONERROR);
}

void HostWindow::OpenWorkbook(const std::wstring& file) {
    Workbook book = Workbook::LoadCsv(file);
    host_.Book() = std::move(book);
    ShowWorkbook();
}

void HostWindow::ChooseWorkbook() {
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"Workbooks (*.csv)\0*.csv\0All files\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return;
    try {
        OpenWorkbook(file);
    } catch (const std::exception&) {
        Report(std::wstring(L"Cannot read the workbook ") + file, MB_ICONERROR);
    }
}

void HostWindow::Report(const std::wstring& text, UINT icon) {
    MessageBoxW(window_, text.c_str(), L"Vardolin stand-in host", MB_OK | icon);
}

void HostWindow::OnCommand(int id) {
    switch (id) {
    case kRunMacroButton: RunMacro(); break;
    case kOpenButton: ChooseWorkbook(); break;
    default: break;
    }
}

void HostWindow::CloseComponentWindows() {
    EnumThreadWindows(GetCurrentThreadId(), &CloseCaptionedWindow, reinterpret_cast<LPARAM>(window_));
}

WNDCLASSEXW HostWindow::WindowClass() noexcept {
    WNDCLASSEXW wc = vardolin::NamedWindowClass(kHostWindowClass, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    return wc;
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->idFrom == kSheetTabs &&
            reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
            OnSheetTab();
        return 0;
    case WM_TIMER:
        // The component selects cells through the host's objects: show it.
        if (wParam == kSelectionTimer && !SameRange(shownSelection_, host_.Book().Selection())) ShowSelection();
        return 0;
    case WM_CLOSE:
        if (picker_) {
            picker_->Cancel();  // a spreadsheet asks for the box to be answered first
            return 0;
        }
        CloseComponentWindows();
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kSelectionTimer);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace vardolin::devhost::app
