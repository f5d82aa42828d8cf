#include "mdlmain.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace vardolin::about {
namespace {

void StartBrowser(const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

WebPageOpener& CurrentOpener() {
    thread_local WebPageOpener opener = StartBrowser;
    return opener;
}

}  // namespace

void OpenWebPage() noexcept {
    try {
        CurrentOpener()(kMakerWebPage);
    } catch (...) {
        // Only a test's replacement can throw; the browser start reports nothing.
    }
}

ScopedWebPageOpenerReplacement::ScopedWebPageOpenerReplacement(WebPageOpener replacement)
    : previous_(std::exchange(CurrentOpener(), std::move(replacement))) {}

ScopedWebPageOpenerReplacement::~ScopedWebPageOpenerReplacement() { CurrentOpener() = std::move(previous_); }

}  // namespace vardolin::about
