#include "VideoFormat.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <cstring>

namespace vardolin::democam {
namespace {

struct Size {
    int width, height;
};
constexpr Size kSizes[] = {{640, 480}, {320, 240}, {1280, 720}};

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

std::wstring VideoFormat::Describe() const {
    const wchar_t* name = pixels == PixelFormat::Yuy2 ? L"YUY2" : pixels == PixelFormat::Nv12 ? L"NV12" : L"RGB24";
    return std::to_wstring(width) + L" x " + std::to_wstring(height) + L" " + name;
}

std::vector<VideoFormat> OfferedFormats(std::span<const PixelFormat> pixelFormats) {
    std::vector<VideoFormat> formats;
    for (PixelFormat pixels : pixelFormats)
        for (Size size : kSizes) formats.push_back({pixels, size.width, size.height, kDefaultFrameInterval});
    return formats;
}

std::optional<VideoFormat> MatchMediaType(const AM_MEDIA_TYPE& type, std::span<const VideoFormat> offered) {
    if (!IsNull(type.majortype) && !IsEqualGUID(type.majortype, MEDIATYPE_Video)) return std::nullopt;
    if (!IsNull(type.formattype) && !IsEqualGUID(type.formattype, FORMAT_VideoInfo)) return std::nullopt;
    const VIDEOINFOHEADER* info = nullptr;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.pbFormat && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    for (const VideoFormat& format : offered) {
        if (!IsNull(type.subtype) && !IsEqualGUID(type.subtype, format.Subtype())) continue;
        if (!info) return format;
        if (info->bmiHeader.biWidth != format.width || info->bmiHeader.biHeight != format.height) continue;
        VideoFormat chosen = format;
        if (info->AvgTimePerFrame >= kShortestFrameInterval && info->AvgTimePerFrame <= kDefaultFrameInterval)
            chosen.frameInterval = info->AvgTimePerFrame;
        return chosen;
    }
    return std::nullopt;
}

HRESULT DescribeMediaType(const VideoFormat& format, AM_MEDIA_TYPE& type) noexcept {
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!info) return E_OUTOFMEMORY;
    std::memset(info, 0, sizeof *info);
    info->AvgTimePerFrame = format.frameInterval;
    info->dwBitRate = static_cast<DWORD>(format.ImageSize() * 8 * (10000000 / format.frameInterval));
    BITMAPINFOHEADER& header = info->bmiHeader;
    header.biSize = sizeof header;
    header.biWidth = format.width;
    header.biHeight = format.height;  // RGB24 bottom-up as a DIB; YUV formats are top-down regardless
    header.biPlanes = 1;
    header.biBitCount = BitsPerPixel(format.pixels);
    header.biCompression = FourCc(format.pixels);
    header.biSizeImage = static_cast<DWORD>(format.ImageSize());

    type = AM_MEDIA_TYPE{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = format.Subtype();
    type.bFixedSizeSamples = TRUE;
    type.bTemporalCompression = FALSE;
    type.lSampleSize = static_cast<ULONG>(format.ImageSize());
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = reinterpret_cast<BYTE*>(info);
    return S_OK;
}

VIDEO_STREAM_CONFIG_CAPS DescribeCaps(const VideoFormat& format) noexcept {
    VIDEO_STREAM_CONFIG_CAPS caps{};
    caps.guid = FORMAT_VideoInfo;
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
