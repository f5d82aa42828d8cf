#include "about/SetWindowAlpha.h"

namespace vardolin::about {
namespace {

// GetWindowLongW returns 0 both for an empty style and for a failure.
bool ReadExtendedStyle(HWND window, LONG& style) noexcept {
    SetLastError(ERROR_SUCCESS);
    style = GetWindowLongW(window, GWL_EXSTYLE);
    return style != 0 || GetLastError() == ERROR_SUCCESS;
}

bool WriteExtendedStyle(HWND window, LONG style) noexcept {
    SetLastError(ERROR_SUCCESS);
    return SetWindowLongW(window, GWL_EXSTYLE, style) != 0 || GetLastError() == ERROR_SUCCESS;
}

}  // namespace

long SetWindowAlpha(HWND window, short alpha) noexcept {
    if (alpha < 0 || alpha > 255) return alpha_result::kOutOfRange;
    LONG style = 0;
    if (!ReadExtendedStyle(window, style)) return alpha_result::kFailed;
    bool wasLayered = (style & WS_EX_LAYERED) != 0;
    if (!wasLayered && !WriteExtendedStyle(window, style | WS_EX_LAYERED)) return alpha_result::kFailed;
    if (!SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA)) {
        // A layered window without attributes is not drawn at all: take the
        // style off again so that the window stays visible as it was.
        if (!wasLayered) WriteExtendedStyle(window, style);
        return alpha_result::kFailed;
    }
    return alpha_result::kDone;
}

}  // namespace vardolin::about
