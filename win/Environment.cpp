#include "win/Environment.h"

#include <shellapi.h>

namespace vardolin {

int Environment::ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) const {
    return messageBox(owner, text, caption, type);
}

int Environment::SystemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void Environment::OpenInBrowser(const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

bool Environment::OpenInExplorer(const std::wstring& folder) {
    // Values above 32 mean the shell started something for the folder.
    HINSTANCE started = ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

Environment& ThreadEnvironment() {
    thread_local Environment* environment = nullptr;
    if (!environment) environment = new Environment();
    return *environment;
}

}  // namespace vardolin
