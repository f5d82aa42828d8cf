// Answers the next modal dialog of this process from inside the modal loop
// of this thread (a dialog's own, or the one that waits for a camera page).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vardolin::capture::test {

// While it lives, the first visible dialog box whose title contains `title`
// that opens in this process (on this thread, or on the camera's thread,
// where the drivers' pages open), other than `besides`, is handed to
// `answer` on this thread, which should close it.
class DialogAnswer {
public:
    DialogAnswer(std::wstring title, std::function<void(HWND dialog)> answer, HWND besides = nullptr);
    ~DialogAnswer();
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;

    bool Answered() const noexcept { return answered_; }

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Match(HWND window, LPARAM self);

    std::wstring title_;
    std::function<void(HWND)> answer_;
    HWND besides_;
    HWND found_ = nullptr;
    bool answered_ = false;
    UINT_PTR timer_ = 0;
    DialogAnswer* outer_;  // answered already when this one is made inside its answer
};

// Selects the entry that reads text exactly in a dialog's list box, or combo
// box with combo; the entry's index, negative when there is none.
LRESULT SelectExactly(HWND list, const std::wstring& text, bool combo = false);

// The text of a list box's selected entry; empty when none is selected.
std::wstring SelectedText(HWND list);

}  // namespace vardolin::capture::test
