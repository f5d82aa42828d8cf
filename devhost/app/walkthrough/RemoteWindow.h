// Working another program's windows through window messages, as a user's
// input would: clicks and drags are posted or sent to the window under the
// pointer, texts are read back, and every wait has a deadline.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vardolin::devhost::walkthrough {

// Why the walkthrough stopped, in words for the person watching it.
struct Failure {
    std::wstring what;
};

// Polls until the condition holds; a message box of `process` that opens
// meanwhile, or the deadline, is a Failure.
void WaitFor(const std::wstring& what, const std::function<bool()>& condition, DWORD process,
             std::chrono::milliseconds deadline = std::chrono::seconds(30));

// A visible top-level window of that class (of `process` when not 0).
HWND FindVisibleWindow(const wchar_t* className, DWORD process = 0);
DWORD ProcessOf(HWND window);

// The text of a message box of `process` that is open, if any.
bool OpenMessageBox(DWORD process, std::wstring& text);

// A message sent with a deadline, so that a hung window fails the walkthrough
// instead of hanging it.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::wstring TextOf(HWND window);
std::vector<std::wstring> ListTexts(HWND list);

// A button press, queued: the press may open a modal loop.
void Click(HWND button);

// The left button pressed at `from`, moved to `to` and let go there.
void Drag(HWND window, POINT from, POINT to);

// A right-button click, queued (it may open a popup menu).
void RightClick(HWND window, POINT at);

// Chooses the n-th item (from 1) of the popup menu open on `process`'s thread.
void ChooseFromPopupMenu(DWORD process, int item);

}  // namespace vardolin::devhost::walkthrough
