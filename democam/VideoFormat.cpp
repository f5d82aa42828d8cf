#include "democam/VideoFormat.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <cstring>
#include <utility>

namespace vardolin::democam {
namespace {

DWORD FourCc(PixelFormat pixels) noexcept {
    switch (pixels) {
    case PixelFormat::Yuy2: return MAKEFOURCC('Y', 'U', 'Y', '2');
    case PixelFormat::Nv12: return MAKEFOURCC('N', 'V', '1', '2');
    default: return BI_RGB;
    }
}

WORD BitsPerPixel(PixelFormat pixels) noexcept {
    switch (pixels) {
    case PixelFormat::Yuy2: return 16;
    case PixelFormat::Nv12: return 12;
    default: return 24;
    }
}

bool IsNull(const GUID& guid) noexcept { return IsEqualGUID(guid, GUID_NULL); }

// What both format blocks share: the frame interval and the bitmap header.
struct BlockFields {
    REFERENCE_TIME frameInterval;
    BITMAPINFOHEADER header;
};

std::optional<BlockFields> ReadBlock(const AM_MEDIA_TYPE& type) {
    if (!type.pbFormat) return std::nullopt;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        return BlockFields{info->AvgTimePerFrame, info->bmiHeader};
    }
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat);
        return BlockFields{info->AvgTimePerFrame, info->bmiHeader};
    }
    return std::nullopt;
}

BITMAPINFOHEADER BitmapHeader(const VideoFormat& format) noexcept {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = format.width;
    header.biHeight = format.height;  // RGB24 bottom-up as a DIB; YUV formats are top-down regardless
    header.biPlanes = 1;
    header.biBitCount = BitsPerPixel(format.pixels);
    header.biCompression = FourCc(format.pixels);
    header.biSizeImage = static_cast<DWORD>(format.ImageSize());
    return header;
}

// The format block, allocated with CoTaskMemAlloc; null when out of memory.
BYTE* NewFormatBlock(const VideoFormat& format, ULONG& size) noexcept {
    DWORD bitRate = static_cast<DWORD>(format.ImageSize() * 8 * (10000000 / format.frameInterval));
    if (format.block == FormatBlock::VideoInfo2) {
        auto* info = static_cast<VIDEOINFOHEADER2*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER2)));
        if (!info) return nullptr;
        std::memset(info, 0, sizeof *info);
        info->AvgTimePerFrame = format.frameInterval;
        info->dwBitRate = bitRate;
        info->dwInterlaceFlags = 0;  // progressive frames
        // Square pixels: the picture's aspect ratio is its size's, reduced.
        DWORD a = static_cast<DWORD>(format.width), b = static_cast<DWORD>(format.height);
        while (b) a = std::exchange(b, a % b);
        info->dwPictAspectRatioX = static_cast<DWORD>(format.width) / a;
        info->dwPictAspectRatioY = static_cast<DWORD>(format.height) / a;
        info->bmiHeader = BitmapHeader(format);
        size = sizeof *info;
        return reinterpret_cast<BYTE*>(info);
    }
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!info) return nullptr;
    std::memset(info, 0, sizeof *info);
    info->AvgTimePerFrame = format.frameInterval;
    info->dwBitRate = bitRate;
    info->bmiHeader = BitmapHeader(format);
    size = sizeof *info;
    return reinterpret_cast<BYTE*>(info);
}

}  // namespace

size_t VideoFormat::ImageSize() const noexcept {
    size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    switch (pixels) {
    case PixelFormat::Yuy2: return w * 2 * h;
    case PixelFormat::Nv12: return w * h * 3 / 2;
    default: return ((w * 3 + 3) & ~size_t{3}) * h;
    }
}

const GUID& VideoFormat::Subtype() const noexcept {
    switch (pixels) {
    case PixelFormat::Yuy2: return MEDIASUBTYPE_YUY2;
    case PixelFormat::Nv12: return MEDIASUBTYPE_NV12;
    default: return MEDIASUBTYPE_RGB24;
    }
}

const GUID& VideoFormat::FormatType() const noexcept {
    return block == FormatBlock::VideoInfo2 ? FORMAT_VideoInfo2 : FORMAT_VideoInfo;
}

std::wstring VideoFormat::Describe() const {
    const wchar_t* name = pixels == PixelFormat::Yuy2 ? L"YUY2" : pixels == PixelFormat::Nv12 ? L"NV12" : L"RGB24";
    return std::to_wstring(width) + L" x " + std::to_wstring(height) + L" " + name;
}

std::vector<VideoFormat> OfferedFormats(std::span<const PixelFormat> pixelFormats, FormatBlock block,
                                        std::span<const FrameSize> sizes) {
    std::vector<VideoFormat> formats;
    for (PixelFormat pixels : pixelFormats)
        for (FrameSize size : sizes) formats.push_back({pixels, size.width, size.height, kDefaultFrameInterval, block});
    return formats;
}

std::optional<VideoFormat> MatchMediaType(const AM_MEDIA_TYPE& type, std::span<const VideoFormat> offered) {
    if (!IsNull(type.majortype) && !IsEqualGUID(type.majortype, MEDIATYPE_Video)) return std::nullopt;
    std::optional<BlockFields> block = ReadBlock(type);
    for (const VideoFormat& format : offered) {
        if (!IsNull(type.subtype) && !IsEqualGUID(type.subtype, format.Subtype())) continue;
        if (!IsNull(type.formattype) && !IsEqualGUID(type.formattype, format.FormatType())) continue;
        if (!block) return format;
        if (block->header.biWidth != format.width || block->header.biHeight != format.height) continue;
        VideoFormat chosen = format;
        if (block->frameInterval >= kShortestFrameInterval && block->frameInterval <= kDefaultFrameInterval)
            chosen.frameInterval = block->frameInterval;
        return chosen;
    }
    return std::nullopt;
}

HRESULT DescribeMediaType(const VideoFormat& format, AM_MEDIA_TYPE& type) noexcept {
    ULONG size = 0;
    BYTE* block = NewFormatBlock(format, size);
    if (!block) return E_OUTOFMEMORY;

    type = AM_MEDIA_TYPE{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = format.Subtype();
    type.bFixedSizeSamples = TRUE;
    type.bTemporalCompression = FALSE;
    type.lSampleSize = static_cast<ULONG>(format.ImageSize());
    type.formattype = format.FormatType();
    type.cbFormat = size;
    type.pbFormat = block;
    return S_OK;
}

VIDEO_STREAM_CONFIG_CAPS DescribeCaps(const VideoFormat& format) noexcept {
    VIDEO_STREAM_CONFIG_CAPS caps{};
    caps.guid = format.FormatType();
    caps.InputSize = caps.MinCroppingSize = caps.MaxCroppingSize = {format.width, format.height};
    caps.MinOutputSize = caps.MaxOutputSize = {format.width, format.height};
    caps.CropGranularityX = caps.CropGranularityY = caps.CropAlignX = caps.CropAlignY = 1;
    caps.OutputGranularityX = caps.OutputGranularityY = 1;
    caps.MinFrameInterval = kShortestFrameInterval;
    caps.MaxFrameInterval = kDefaultFrameInterval;
    LONG bitsPerFrame = static_cast<LONG>(format.ImageSize() * 8);
    caps.MinBitsPerSecond = bitsPerFrame * static_cast<LONG>(10000000 / kDefaultFrameInterval);
    caps.MaxBitsPerSecond = bitsPerFrame * static_cast<LONG>(10000000 / kShortestFrameInterval);
    return caps;
}

}  // namespace vardolin::democam
