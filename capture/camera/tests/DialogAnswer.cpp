#include "DialogAnswer.h"

namespace vardolin::capture::test {
namespace {

DialogAnswer* pending = nullptr;

struct Search {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t className[16] = {}, text[64] = {};
    GetClassNameW(window, className, 16);
    GetWindowTextW(window, text, 64);
    if (std::wstring(className) == L"#32770" && *search->title == text && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

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
    Search search{&self->title_, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    self->answered_ = true;
    self->answer_(search.found);
}

}  // namespace vardolin::capture::test
