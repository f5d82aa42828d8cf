#include "capture/camera/MediaTypes.h"

#include "win/Win32Handles.h"

#include <dvdmedia.h>

#include <cstdlib>
#include <cstring>

namespace vardolin::capture {

void MediaTypeFree::operator()(AM_MEDIA_TYPE* type) const noexcept {
    UniqueCoTaskMem<AM_MEDIA_TYPE> held(type);
    FreeMediaTypeFields(*type);
}

const BITMAPINFOHEADER* VideoHeaderOf(const AM_MEDIA_TYPE& type) noexcept {
    if (!type.pbFormat) return nullptr;
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    return nullptr;
}

std::optional<SampleLayout> LayoutOfType(const AM_MEDIA_TYPE& type) noexcept {
    const BITMAPINFOHEADER* header = VideoHeaderOf(type);
    std::optional<PixelFormat> format = PixelFormatOf(type.subtype);
    if (type.majortype != MEDIATYPE_Video || !header || !format) return std::nullopt;
    // Both blocks start with the source and target rectangles.
    const RECT& source = type.formattype == FORMAT_VideoInfo
                             ? reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->rcSource
                             : reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->rcSource;
    return LayoutOf(*format, *header, source);
}

void SetFrameInterval(AM_MEDIA_TYPE& type, int64_t interval) noexcept {
    if (!VideoHeaderOf(type)) return;
    if (type.formattype == FORMAT_VideoInfo)
        reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat)->AvgTimePerFrame = interval;
    else reinterpret_cast<VIDEOINFOHEADER2*>(type.pbFormat)->AvgTimePerFrame = interval;
}

Microsoft::WRL::ComPtr<IAMStreamConfig> StreamConfigOf(IPin* pin) {
    Microsoft::WRL::ComPtr<IAMStreamConfig> config;
    if (pin) pin->QueryInterface(IID_PPV_ARGS(&config));
    return config;
}

OfferedTypes OfferedTypesOf(IAMStreamConfig* config) {
    OfferedTypes offered;
    int count = 0, size = 0;
    if (!config || FAILED(config->GetNumberOfCapabilities(&count, &size)) || size != sizeof(VIDEO_STREAM_CONFIG_CAPS))
        return offered;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* raw = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        if (FAILED(config->GetStreamCaps(i, &raw, reinterpret_cast<BYTE*>(&caps))) || !raw) continue;
        OwnedMediaType type(raw);
        const BITMAPINFOHEADER* header = VideoHeaderOf(*type);
        if (!header) continue;
        offered.formats.push_back(
            {type->subtype, header->biWidth, std::abs(header->biHeight), caps.MinFrameInterval, caps.MaxFrameInterval});
        offered.types.push_back(std::move(type));
    }
    return offered;
}

std::optional<size_t> CurrentFormatIn(IAMStreamConfig* config, const OfferedTypes& offered) {
    AM_MEDIA_TYPE* raw = nullptr;
    if (!config || FAILED(config->GetFormat(&raw)) || !raw) return std::nullopt;
    OwnedMediaType current(raw);
    const BITMAPINFOHEADER* header = VideoHeaderOf(*current);
    if (!header) return std::nullopt;
    for (size_t i = 0; i < offered.formats.size(); ++i) {
        const OfferedFormat& f = offered.formats[i];
        if (f.subtype == current->subtype && f.width == header->biWidth && f.height == std::abs(header->biHeight))
            return i;
    }
    return std::nullopt;
}

}  // namespace vardolin::capture
