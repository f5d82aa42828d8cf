#include "devhost/app/RangePicker.h"

#include <algorithm>
#include <stdexcept>

namespace vardolin::devhost::app {
namespace {

constexpr int kMargin = 10;
constexpr COLORREF kBackground = RGB(255, 248, 214);

std::wstring Trimmed(std::wstring text) {
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

RangePicker::RangePicker(HWND host, const std::wstring& prompt, const std::wstring& title, IsValidAddress isValid)
    : host_(host),
      title_(title),
      isValid_(std::move(isValid)),
      font_(CreateMessageFont()),
      titleFont_(CreateSheetFont(16)),
      promptFont_(CreateSheetFont(14)),
      background_(CreateSolidBrush(kBackground)) {
    RegisterWindowClass();
    RECT client{};
    GetClientRect(host_, &client);
    CreateWindowExW(WS_EX_CONTROLPARENT, kRangePickerClass, title.c_str(), WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, 0, 0,
                    client.right, kRangePickerHeight, host_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPickerBar)),
                    GetModuleHandleW(nullptr), this);
    if (!window_) throw std::runtime_error("cannot create the range picker");
    CreateControls(prompt, title);
}

RangePicker::~RangePicker() {
    if (window_) DestroyWindow(window_);
}

void RangePicker::CreateControls(const std::wstring& prompt, const std::wstring& title) {
    auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id, RECT r, HFONT font) {
        HWND control = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right,
                                       r.bottom, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    add(L"STATIC", title.c_str(), SS_LEFT | SS_NOPREFIX, 0, kPickerTitle, {kMargin, 6, 600, 20}, titleFont_.get());
    add(L"STATIC", prompt.c_str(), SS_LEFT | SS_NOPREFIX, 0, kPickerPrompt, {kMargin, 28, 760, 36}, promptFont_.get());
    add(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kPickerAddress, {kMargin, 68, 300, 26},
        font_.get());
    add(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kPickerOk, {kMargin + 312, 67, 90, 28}, font_.get());
    add(L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, kPickerCancel, {kMargin + 408, 67, 90, 28}, font_.get());
}

std::optional<std::wstring> RangePicker::Run() {
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(host_);
    SetFocus(GetDlgItem(window_, kPickerAddress));
    while (!finished_) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            answer_.reset();
            break;
        }
        if (!IsDialogMessageW(window_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    ShowWindow(window_, SW_HIDE);
    return answer_;
}

void RangePicker::ShowPicked(const std::wstring& address) { SetDlgItemTextW(window_, kPickerAddress, address.c_str()); }

void RangePicker::Cancel() {
    answer_.reset();
    finished_ = true;
    if (window_) PostMessageW(window_, WM_NULL, 0, 0);  // wakes the loop in Run
}

std::wstring RangePicker::AddressText() const {
    HWND edit = GetDlgItem(window_, kPickerAddress);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return Trimmed(text);
}

void RangePicker::Accept() {
    std::wstring address = AddressText();
    if (!address.empty() && isValid_ && isValid_(address)) {
        answer_ = address;
        finished_ = true;
        return;
    }
    MessageBoxW(window_, L"The reference is not valid. Select cells in the sheet, or type an address such as A2:A14.",
                title_.c_str(), MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(window_, kPickerAddress));
}

WNDCLASSEXW RangePicker::WindowClass() noexcept { return vardolin::NamedWindowClass(kRangePickerClass, IDC_ARROW); }

LRESULT RangePicker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kPickerOk) Accept();
        else if (LOWORD(wParam) == kPickerCancel) Cancel();
        return 0;
    case WM_CLOSE: Cancel(); return 0;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window_, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, background_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), kBackground);
        return reinterpret_cast<LRESULT>(background_.get());
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace vardolin::devhost::app
