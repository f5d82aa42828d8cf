#include "democam/Enumerators.h"

#include "win/SnapshotEnumerator.h"
#include "democam/MediaType.h"

#include <wrl/client.h>

namespace vardolin::democam {
namespace {

using Microsoft::WRL::ComPtr;

HRESULT HandOutFormat(const VideoFormat& format, AM_MEDIA_TYPE** out) noexcept { return NewMediaType(format, out); }

}  // namespace

HRESULT CreatePinEnumerator(std::span<IPin* const> pins, IEnumPins** out) noexcept {
    using Pins =
        vardolin::SnapshotEnumerator<IEnumPins, ComPtr<IPin>, IPin*, vardolin::HandOutReference<ComPtr<IPin>, IPin>>;
    return vardolin::Guarded([&] { return Pins::Create(std::vector<ComPtr<IPin>>(pins.begin(), pins.end()), out); });
}

HRESULT CreateMediaTypeEnumerator(std::span<const VideoFormat> formats, IEnumMediaTypes** out) noexcept {
    using Types = vardolin::SnapshotEnumerator<IEnumMediaTypes, VideoFormat, AM_MEDIA_TYPE*, HandOutFormat>;
    return vardolin::Guarded(
        [&] { return Types::Create(std::vector<VideoFormat>(formats.begin(), formats.end()), out); });
}

}  // namespace vardolin::democam
