#include "democam/MediaType.h"

#include "win/Win32Handles.h"

namespace vardolin::democam {

HRESULT NewMediaType(const VideoFormat& format, AM_MEDIA_TYPE** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    UniqueCoTaskMem<AM_MEDIA_TYPE> type(static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE))));
    if (!type) return E_OUTOFMEMORY;
    HRESULT hr = DescribeMediaType(format, *type.get());
    if (SUCCEEDED(hr)) *out = type.release();
    return hr;
}

}  // namespace vardolin::democam
