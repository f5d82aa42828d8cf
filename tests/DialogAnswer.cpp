#include "tests/DialogAnswer.h"

#include "tests/ThreadWindows.h"

namespace vardolin::capture::test {
namespace {

DialogAnswer* pending = nullptr;

}  // namespace

DialogAnswer::DialogAnswer(std::wstring title, std::function<void(HWND)> answer)
    : title_(std::move(title)), answer_(std::move(answer)) {
    pending = this;
    timer_ = SetTimer(nullptr, 0, 20, &DialogAnswer::Poll);
}

DialogAnswer::~DialogAnswer() {
    if (timer_) KillTimer(nullptr, timer_);
    pending = nullptr;
}

void CALLBACK DialogAnswer::Poll(HWND, UINT, UINT_PTR, DWORD) {
    DialogAnswer* self = pending;
    if (!self || self->answered_) return;
    HWND dialog = vardolin::test::FindThreadWindow(L"#32770", self->title_.c_str());
    if (!dialog) return;
    self->answered_ = true;
    self->answer_(dialog);
}

LRESULT SelectExactly(HWND list, const std::wstring& text, bool combo) {
    LRESULT item = SendMessageW(list, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list, combo ? CB_SETCURSEL : LB_SETCURSEL, item, 0);
    return item;
}

}  // namespace vardolin::capture::test
