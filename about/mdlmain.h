// The module mdlmain: opens the maker's web page in the user's browser.
#pragma once

#include <functional>
#include <string>

namespace vardolin::about {

inline constexpr const wchar_t* kMakerWebPage = L"https://vardolin.example/";

// Opens the maker's web page with the "open" verb. Whether a browser really
// started is not checked: the user sees it, or sees nothing happen.
void OpenWebPage() noexcept;

using WebPageOpener = std::function<void(const std::wstring& address)>;

// Replaces the browser start for as long as the object lives (tests count the
// pages opened instead of starting a browser).
class ScopedWebPageOpenerReplacement {
public:
    explicit ScopedWebPageOpenerReplacement(WebPageOpener replacement);
    ~ScopedWebPageOpenerReplacement();
    ScopedWebPageOpenerReplacement(const ScopedWebPageOpenerReplacement&) = delete;
    ScopedWebPageOpenerReplacement& operator=(const ScopedWebPageOpenerReplacement&) = delete;

private:
    WebPageOpener previous_;
};

}  // namespace vardolin::about
