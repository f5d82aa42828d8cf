// Every message box of the component goes through here, so that tests can
// answer them without a modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vardolin::capture {

using MessageBoxFunction =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;

// Shows a modal message box (MessageBoxW unless a test replaced it) and returns
// the button chosen.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// Replaces the message box for as long as the object lives.
class ScopedMessageBoxReplacement {
public:
    explicit ScopedMessageBoxReplacement(MessageBoxFunction replacement);
    ~ScopedMessageBoxReplacement();
    ScopedMessageBoxReplacement(const ScopedMessageBoxReplacement&) = delete;
    ScopedMessageBoxReplacement& operator=(const ScopedMessageBoxReplacement&) = delete;

private:
    MessageBoxFunction previous_;
};

}  // namespace vardolin::capture
