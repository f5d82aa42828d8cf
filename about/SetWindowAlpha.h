// Sets the opacity of a top-level window through the layered-window support.
#pragma once

#include <windows.h>

namespace vardolin::about {

namespace alpha_result {
inline constexpr long kDone = 0;
inline constexpr long kOutOfRange = 1;  // alpha outside 0..255: the window is not touched
inline constexpr long kFailed = 2;      // the platform refused: the window stays as it was
}  // namespace alpha_result

// Makes the window layered (when it is not yet) and sets its opacity: 0 fully
// transparent, 255 fully opaque.
long SetWindowAlpha(HWND window, short alpha) noexcept;

}  // namespace vardolin::about
