// Which of a camera's formats to ask for before connecting: the preview
// needs 320 x 240, so a 4:3 format of that size, else the smallest 4:3 one
// above it; among equal sizes a pixel format we convert ourselves.
#pragma once

#include <guiddef.h>

#include <optional>
#include <span>

namespace vardolin::capture {

struct OfferedFormat {
    GUID subtype;
    int width;
    int height;
};

// Index into offered; nothing when no format suits (the camera's own default
// is then kept).
std::optional<size_t> ChoosePreviewFormat(std::span<const OfferedFormat> offered);

// For photos of scale times the designed size: at 1 the preview's choice;
// above, the smallest format whose middle 4:3 area holds at least
// 320 x 240 times scale (any shape), our own conversions first among equals.
std::optional<size_t> ChooseFormatFor(std::span<const OfferedFormat> offered, int scale);

// The largest photo scale (1 to 3) that the formats give real detail for,
// and the largest format offered (0 x 0 when none).
struct DetailOffered {
    int scale;
    int width;
    int height;
};
DetailOffered LargestDetail(std::span<const OfferedFormat> offered);

// What the sample grabber should accept for a connected format: the format
// itself when we convert it, otherwise RGB24 so that the system puts its
// decoder (for example for MJPG) in between.
GUID GrabberSubtypeFor(const GUID& cameraSubtype);

}  // namespace vardolin::capture
