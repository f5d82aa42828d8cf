// Answers the next modal dialog of this thread from inside its modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vardolin::capture::test {

// While it lives, the first dialog box titled `title` that opens on this
// thread is handed to `answer`, which should close it.
class DialogAnswer {
public:
    DialogAnswer(std::wstring title, std::function<void(HWND dialog)> answer);
    ~DialogAnswer();
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;

    bool Answered() const noexcept { return answered_; }

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);

    std::wstring title_;
    std::function<void(HWND)> answer_;
    bool answered_ = false;
    UINT_PTR timer_ = 0;
};

// Selects the entry that reads text exactly in a dialog's list box, or combo
// box with combo; the entry's index, negative when there is none.
LRESULT SelectExactly(HWND list, const std::wstring& text, bool combo = false);

}  // namespace vardolin::capture::test
