// The module mdlmain: opens the maker's web page in the user's browser.
#pragma once

#include "Environment.h"

namespace vardolin::about {

inline constexpr const wchar_t* kMakerWebPage = L"https://vardolin.example/";

// Opens the maker's web page with the environment's browser. Whether a
// browser really started is not checked: the user sees it, or sees nothing
// happen.
void OpenWebPage(const vardolin::Environment& environment) noexcept;

}  // namespace vardolin::about
