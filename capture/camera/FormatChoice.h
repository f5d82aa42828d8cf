// Which of a camera's formats to ask for before connecting: the preview
// needs 320 x 240, so a 4:3 format of that size, else the smallest 4:3 one
// above it; among equal sizes a pixel format we convert ourselves. Before
// either, a format whose caps reach 15 frames a second: a camera's YUY2 at
// 1920 x 1080 over USB 2 gives 5, its MJPG at the same size 30.
#pragma once

#include <guiddef.h>

#include <cstdint>
#include <optional>
#include <span>

namespace vardolin::capture {

struct OfferedFormat {
    GUID subtype;
    int width;
    int height;
    // The shortest and longest frame interval the caps allow, in 100 ns
    // units; 0 when the camera does not say.
    int64_t shortestInterval = 0;
    int64_t longestInterval = 0;
};

// The frame rate a preview needs, as an interval: 15 frames a second.
inline constexpr int64_t kWantedFrameInterval = 666666;

// Whether the caps allow the wanted rate; a format whose caps do not say is
// taken at its word.
bool ReachesWantedRate(const OfferedFormat& format);

// The frame interval to ask of a chosen format: the wanted rate where the
// caps allow it, else the nearest they allow; 0 (leave the type's own) when
// the caps do not say.
int64_t FrameIntervalFor(const OfferedFormat& format);

// Index into offered; nothing when no format suits (the camera's own default
// is then kept).
std::optional<size_t> ChoosePreviewFormat(std::span<const OfferedFormat> offered);

// For photos of scale times the designed size: at 1 the preview's choice;
// above, among the formats whose middle 4:3 area holds at least 320 x 240
// times scale (any shape), those that reach the wanted rate first, then the
// smallest, then our own conversions.
std::optional<size_t> ChooseFormatFor(std::span<const OfferedFormat> offered, int scale);

// The largest photo scale (1 to 3) that the formats give real detail for,
// and the largest format offered (0 x 0 when none).
struct DetailOffered {
    int scale;
    int width;
    int height;
};
DetailOffered LargestDetail(std::span<const OfferedFormat> offered);

}  // namespace vardolin::capture
