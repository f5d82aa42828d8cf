// The camera pixel formats the capture code knows, in one table: what the
// format list calls them, how many bits a pixel takes, which of our own
// conversions reads them, and which the format choice prefers.
#pragma once

#include <guiddef.h>

#include <optional>
#include <span>

namespace vardolin::capture {

// The formats our own pixel conversion reads.
enum class PixelFormat { Rgb24, Rgb32, Yuy2, Nv12, Rgb565, Rgb555 };

struct CameraFormat {
    const GUID& subtype;
    const wchar_t* name;    // null: named by its FourCC
    int bitsPerPixel;       // averaged over the planes for planar formats
    PixelFormat converter;  // our conversion that reads it
    int preference;         // lower is chosen first among formats of the same size
};

// Every known format, each read by our own conversion; a subtype not in it
// (compressed ones, MJPG say) reaches us through the system's decoder and
// has the preference kOtherPreference.
std::span<const CameraFormat> CameraFormats() noexcept;
inline constexpr int kOtherPreference = 6;

// The table's row of a subtype, or null.
const CameraFormat* CameraFormatOf(const GUID& subtype) noexcept;
// The table's row of one of our conversions.
const CameraFormat& CameraFormatOf(PixelFormat format) noexcept;

// The formats converted here; nothing for any other media subtype.
std::optional<PixelFormat> PixelFormatOf(const GUID& subtype) noexcept;
// Lower is better: our own conversions first, compressed formats last.
int PreferenceOf(const GUID& subtype) noexcept;

}  // namespace vardolin::capture
