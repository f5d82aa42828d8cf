#include "MessageBoxSeam.h"

#include <utility>

namespace vardolin::capture {
namespace {

MessageBoxFunction& Current() {
    static MessageBoxFunction current;
    return current;
}

}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    if (Current()) return Current()(owner, text, caption, type);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

ScopedMessageBoxReplacement::ScopedMessageBoxReplacement(MessageBoxFunction replacement)
    : previous_(std::exchange(Current(), std::move(replacement))) {}

ScopedMessageBoxReplacement::~ScopedMessageBoxReplacement() { Current() = std::move(previous_); }

}  // namespace vardolin::capture
