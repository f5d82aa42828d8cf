// Twips: the unit the forms' designs are measured in, 15 to the pixel at the
// system's scale.
#pragma once

#include <windows.h>

namespace vardolin {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) noexcept { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

struct TwipsRect {
    int left, top, width, height;
};

constexpr RECT ToPixels(const TwipsRect& twips) noexcept {
    int left = TwipsToPixels(twips.left);
    int top = TwipsToPixels(twips.top);
    return {left, top, left + TwipsToPixels(twips.width), top + TwipsToPixels(twips.height)};
}

}  // namespace vardolin
