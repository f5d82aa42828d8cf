// The camera pixel formats the capture code knows, in one table: what the
// format list calls them, how many bits a pixel takes, which of our own
// conversions reads them, and which the format choice prefers.
#pragma once

#include <guiddef.h>

#include <optional>
#include <span>

namespace vardolin::capture {

// The formats the preview scaler converts itself.
enum class PixelFormat { Rgb24, Rgb32, Yuy2, Nv12 };

struct CameraFormat {
    const GUID& subtype;
    const wchar_t* name;                   // null: named by its FourCC
    int bitsPerPixel;                      // averaged over the planes for planar formats
    std::optional<PixelFormat> converter;  // nothing: the system's decoder converts it to RGB24
    int preference;                        // lower is chosen first among formats of the same size
};

// Every known format; a subtype not in it (compressed ones, for example) has
// no converter and the preference kOtherPreference.
std::span<const CameraFormat> CameraFormats() noexcept;
inline constexpr int kOtherPreference = 4;

// The table's row of a subtype, or null.
const CameraFormat* CameraFormatOf(const GUID& subtype) noexcept;
// The table's row of one of our conversions.
const CameraFormat& CameraFormatOf(PixelFormat format) noexcept;

// The formats converted here; nothing for any other media subtype.
std::optional<PixelFormat> PixelFormatOf(const GUID& subtype) noexcept;
// Lower is better: our own conversions first, compressed formats last.
int PreferenceOf(const GUID& subtype) noexcept;

}  // namespace vardolin::capture
