#include "devhost/app/walkthrough/RemoteWindow.h"

#include <thread>

namespace vardolin::devhost::walkthrough {
namespace {

constexpr UINT kSendTimeoutMs = 15000;

LPARAM Point(POINT at) { return MAKELPARAM(at.x, at.y); }

struct Search {
    const wchar_t* className;
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (wcscmp(name, search->className) != 0 || !IsWindowVisible(window)) return TRUE;
    if (search->process && ProcessOf(window) != search->process) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM texts) {
    wchar_t name[16] = L"";
    GetClassNameW(child, name, 16);
    if (_wcsicmp(name, L"Static") == 0) {
        std::wstring text = TextOf(child);
        if (!text.empty()) *reinterpret_cast<std::wstring*>(texts) += text + L" ";
    }
    return TRUE;
}

}  // namespace

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

HWND FindVisibleWindow(const wchar_t* className, DWORD process) {
    Search search{className, process, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool OpenMessageBox(DWORD process, std::wstring& text) {
    HWND box = FindVisibleWindow(L"#32770", process);
    if (!box) return false;
    text = TextOf(box) + L": ";
    EnumChildWindows(box, &AppendStaticText, reinterpret_cast<LPARAM>(&text));
    return true;
}

void WaitFor(const std::wstring& what, const std::function<bool()>& condition, DWORD process,
             std::chrono::milliseconds deadline) {
    auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) return;
        std::wstring box;
        if (process && OpenMessageBox(process, box))
            throw Failure{L"a message box opened while waiting for " + what + L": " + box};
        if (std::chrono::steady_clock::now() > end) throw Failure{L"timed out waiting for " + what};
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        throw Failure{L"a window did not answer message " + std::to_wstring(message)};
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(Send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<size_t>(Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::vector<std::wstring> ListTexts(HWND list) {
    std::vector<std::wstring> texts;
    LRESULT count = Send(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
        if (length == LB_ERR) break;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
        texts.push_back(text);
    }
    return texts;
}

void Click(HWND button) {
    if (!IsWindowEnabled(button)) throw Failure{L"the button \"" + TextOf(button) + L"\" is disabled"};
    PostMessageW(button, BM_CLICK, 0, 0);
}

void Drag(HWND window, POINT from, POINT to) {
    POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    Send(window, WM_MOUSEMOVE, 0, Point(from));
    Send(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(from));
    Send(window, WM_MOUSEMOVE, MK_LBUTTON, Point(middle));
    Send(window, WM_MOUSEMOVE, MK_LBUTTON, Point(to));
    Send(window, WM_LBUTTONUP, 0, Point(to));
}

void RightClick(HWND window, POINT at) {
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(at));
    PostMessageW(window, WM_RBUTTONUP, 0, Point(at));
}

void ChooseFromPopupMenu(DWORD process, int item) {
    HWND menu = nullptr;
    WaitFor(
        L"the popup menu", [&] { return (menu = FindVisibleWindow(L"#32768", process)) != nullptr; }, process);
    // The menu's own loop reads the keys from its thread's queue.
    for (int i = 0; i < item; ++i) {
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYUP, VK_DOWN, 0xC0000000);
    }
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(menu, WM_KEYUP, VK_RETURN, 0xC0000000);
}

}  // namespace vardolin::devhost::walkthrough
