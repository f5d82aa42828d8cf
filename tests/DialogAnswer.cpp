#include "tests/DialogAnswer.h"

namespace vardolin::capture::test {
namespace {

DialogAnswer* pending = nullptr;

}  // namespace

DialogAnswer::DialogAnswer(std::wstring title, std::function<void(HWND)> answer, HWND besides)
    : title_(std::move(title)), answer_(std::move(answer)), besides_(besides), outer_(pending) {
    pending = this;
    timer_ = SetTimer(nullptr, 0, 20, &DialogAnswer::Poll);
}

DialogAnswer::~DialogAnswer() {
    if (timer_) KillTimer(nullptr, timer_);
    pending = outer_;
}

// The Windows tests run side by side on one display: only this process's
// windows are looked at.
BOOL CALLBACK DialogAnswer::Match(HWND window, LPARAM data) {
    auto* self = reinterpret_cast<DialogAnswer*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {}, text[128] = {};
    GetClassNameW(window, name, 16);
    GetWindowTextW(window, text, 128);
    if (process != GetCurrentProcessId() || wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window) ||
        !wcsstr(text, self->title_.c_str()) || window == self->besides_)
        return TRUE;
    self->found_ = window;
    return FALSE;
}

void CALLBACK DialogAnswer::Poll(HWND, UINT, UINT_PTR, DWORD) {
    DialogAnswer* self = pending;
    if (!self || self->answered_) return;
    self->found_ = nullptr;
    EnumWindows(&DialogAnswer::Match, reinterpret_cast<LPARAM>(self));
    if (!self->found_) return;
    self->answered_ = true;
    HWND dialog = self->found_;
    self->answer_(dialog);
    // A dialog of another thread handles what was sent to it inside its
    // modal loop's wait, which ends only with a message posted to it (as a
    // user's click is): it is woken to see that it was closed.
    if (IsWindow(dialog) && GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId())
        PostMessageW(dialog, WM_NULL, 0, 0);
}

LRESULT SelectExactly(HWND list, const std::wstring& text, bool combo) {
    LRESULT item = SendMessageW(list, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list, combo ? CB_SETCURSEL : LB_SETCURSEL, item, 0);
    return item;
}

std::wstring SelectedText(HWND list) {
    LRESULT item = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (item < 0) return L"";
    std::wstring text(SendMessageW(list, LB_GETTEXTLEN, item, 0) + 1, L'\0');
    text.resize(SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data())));
    return text;
}

}  // namespace vardolin::capture::test
