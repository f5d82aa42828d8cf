// Enumerators over a snapshot: the pins of the filter, the media types of a pin.
#pragma once

#include "democam/VideoFormat.h"

#include <windows.h>
#include <strmif.h>

#include <span>

namespace vardolin::democam {

HRESULT CreatePinEnumerator(std::span<IPin* const> pins, IEnumPins** out) noexcept;
HRESULT CreateMediaTypeEnumerator(std::span<const VideoFormat> formats, IEnumMediaTypes** out) noexcept;

}  // namespace vardolin::democam
