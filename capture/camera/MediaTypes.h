// DirectShow media types as the camera code reads them: owners for the
// types the system hands out, the bitmap header of a video type whichever
// format block carries it (VIDEOINFOHEADER or VIDEOINFOHEADER2), the frame
// layout our conversions read from it, and the formats a capture pin offers.
#pragma once

#include "capture/camera/FormatChoice.h"
#include "capture/camera/PixelConversion.h"
#include "win/MediaTypeFields.h"

#include <dshow.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

namespace vardolin::capture {

// A media type filled in by a call (the fields are ours to free).
struct MediaType : AM_MEDIA_TYPE {
    MediaType() noexcept : AM_MEDIA_TYPE{} {}
    MediaType(const MediaType&) = delete;
    MediaType& operator=(const MediaType&) = delete;
    ~MediaType() { FreeMediaTypeFields(*this); }
};

// A media type allocated whole by the system (IAMStreamConfig hands these out).
struct MediaTypeFree {
    void operator()(AM_MEDIA_TYPE* type) const noexcept;
};
using OwnedMediaType = std::unique_ptr<AM_MEDIA_TYPE, MediaTypeFree>;

// The bitmap header of a video media type; null when the type has none.
const BITMAPINFOHEADER* VideoHeaderOf(const AM_MEDIA_TYPE& type) noexcept;

// The frame layout a video type describes when it is one we convert (a
// subtype of the format table in a VIDEOINFOHEADER or VIDEOINFOHEADER2
// block, its rcSource honoured); nothing for any other type.
std::optional<SampleLayout> LayoutOfType(const AM_MEDIA_TYPE& type) noexcept;

// Sets the frame interval (100 ns units) a video type asks the camera for.
void SetFrameInterval(AM_MEDIA_TYPE& type, int64_t interval) noexcept;

Microsoft::WRL::ComPtr<IAMStreamConfig> StreamConfigOf(IPin* pin);

// What a capture pin offers through IAMStreamConfig, in its order: each
// video type with its size, subtype and the frame intervals its caps allow
// (types without a bitmap header are left out).
struct OfferedTypes {
    std::vector<OwnedMediaType> types;
    std::vector<OfferedFormat> formats;  // formats[i] describes types[i]
};
OfferedTypes OfferedTypesOf(IAMStreamConfig* config);

// The pin's current format as an entry of offered, when it is one of them.
std::optional<size_t> CurrentFormatIn(IAMStreamConfig* config, const OfferedTypes& offered);

}  // namespace vardolin::capture
