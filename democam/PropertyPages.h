// The camera's property pages: the format page of the output pin and the
// picture page (brightness, contrast) of the filter.
#pragma once

#include <windows.h>

namespace vardolin::democam {

HRESULT CreateFormatPage(REFIID iid, void** out) noexcept;
HRESULT CreatePicturePage(REFIID iid, void** out) noexcept;

}  // namespace vardolin::democam
