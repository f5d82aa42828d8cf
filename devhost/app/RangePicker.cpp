#include "RangePicker.h"

#include <algorithm>
#include <stdexcept>

namespace vardolin::devhost::app {
namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 190;
constexpr int kMargin = 12;

std::wstring Trimmed(std::wstring text) {
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

RangePicker::RangePicker(HWND owner, const std::wstring& prompt, const std::wstring& title, IsValidAddress isValid)
    : owner_(owner), title_(title), isValid_(std::move(isValid)), font_(CreateMessageFont()) {
    static const ATOM registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &RangePicker::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kRangePickerClass;
        return RegisterClassExW(&wc);
    }();
    (void)registered;
    // Top right of the owner, away from the first columns people pick from.
    RECT area{};
    GetWindowRect(owner_, &area);
    int x = std::max<LONG>(area.left, area.right - kWidth - 40);
    CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_TOPMOST, kRangePickerClass, title.c_str(),
                    WS_POPUP | WS_CAPTION | WS_SYSMENU, x, area.top + 90, kWidth, kHeight, owner_, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!window_) throw std::runtime_error("cannot create the range picker");
    CreateControls(prompt);
}

RangePicker::~RangePicker() {
    if (window_) DestroyWindow(window_);
}

void RangePicker::CreateControls(const std::wstring& prompt) {
    RECT client;
    GetClientRect(window_, &client);
    int width = client.right - 2 * kMargin;
    auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id, RECT r) {
        HWND control = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right, r.bottom,
                                       window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return control;
    };
    add(L"STATIC", prompt.c_str(), SS_LEFT | SS_NOPREFIX, 0, kPickerPrompt, {kMargin, kMargin, width, 64});
    HWND edit = add(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kPickerAddress,
                    {kMargin, kMargin + 72, width, 24});
    int buttonTop = client.bottom - kMargin - 28;
    add(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kPickerOk, {client.right - 2 * (90 + kMargin), buttonTop, 90, 28});
    add(L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, kPickerCancel, {client.right - 90 - kMargin, buttonTop, 90, 28});
    SetFocus(edit);
}

std::optional<std::wstring> RangePicker::Run() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
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
    if (IsWindow(owner_)) SetForegroundWindow(owner_);
    return answer_;
}

void RangePicker::ShowPicked(const std::wstring& address) {
    SetDlgItemTextW(window_, kPickerAddress, address.c_str());
}

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

LRESULT CALLBACK RangePicker::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<RangePicker*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<RangePicker*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->Cancel();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        self->Cancel();
        return 0;
    }
}

LRESULT RangePicker::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kPickerOk) Accept();
        else if (LOWORD(wParam) == kPickerCancel) Cancel();
        return 0;
    case WM_CLOSE:
        Cancel();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace vardolin::devhost::app
