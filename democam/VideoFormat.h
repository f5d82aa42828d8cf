// The video formats the camera offers and their DirectShow descriptions.
#pragma once

#include <windows.h>
#include <strmif.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vardolin::democam {

enum class PixelFormat { Rgb24, Yuy2, Nv12 };

// The format block of a media type: FORMAT_VideoInfo (VIDEOINFOHEADER) or
// FORMAT_VideoInfo2 (VIDEOINFOHEADER2, which adds the picture's aspect ratio).
enum class FormatBlock { VideoInfo, VideoInfo2 };

// 15 frames a second by default; a format may ask for up to 30.
inline constexpr REFERENCE_TIME kDefaultFrameInterval = 666666;
inline constexpr REFERENCE_TIME kShortestFrameInterval = 333333;

// A frame size the camera offers.
struct FrameSize {
    int width, height;
};
// The default first; the larger sizes after the ones older clients know.
inline constexpr FrameSize kFrameSizes[] = {{640, 480}, {320, 240}, {1280, 720}, {1920, 1080}};

struct VideoFormat {
    PixelFormat pixels = PixelFormat::Rgb24;
    int width = 640;
    int height = 480;
    REFERENCE_TIME frameInterval = kDefaultFrameInterval;
    FormatBlock block = FormatBlock::VideoInfo;

    size_t ImageSize() const noexcept;
    const GUID& Subtype() const noexcept;
    const GUID& FormatType() const noexcept;
    std::wstring Describe() const;  // "640 x 480 RGB24"
    bool SameImage(const VideoFormat& other) const noexcept {
        return pixels == other.pixels && width == other.width && height == other.height;
    }
};

// Every format of the given pixel formats at the given sizes, the first size
// of the first pixel format first (the default), described by that block.
std::vector<VideoFormat> OfferedFormats(std::span<const PixelFormat> pixelFormats,
                                        FormatBlock block = FormatBlock::VideoInfo,
                                        std::span<const FrameSize> sizes = kFrameSizes);

// The offered format a (possibly partial) media type asks for: null fields
// match anything, a format block must be of the offered kind and name one of
// the offered sizes.
std::optional<VideoFormat> MatchMediaType(const AM_MEDIA_TYPE& type, std::span<const VideoFormat> offered);

// Fills type (its format block allocated with CoTaskMemAlloc).
HRESULT DescribeMediaType(const VideoFormat& format, AM_MEDIA_TYPE& type) noexcept;
VIDEO_STREAM_CONFIG_CAPS DescribeCaps(const VideoFormat& format) noexcept;

}  // namespace vardolin::democam
