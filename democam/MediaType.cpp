#include "democam/MediaType.h"

#include <cstring>

#include "win/Win32Handles.h"

namespace vardolin::democam {

void FreeMediaTypeFields(AM_MEDIA_TYPE& type) noexcept {
    UniqueCoTaskMem<BYTE> format(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    type.pUnk = nullptr;
}

HRESULT NewMediaType(const VideoFormat& format, AM_MEDIA_TYPE** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    UniqueCoTaskMem<AM_MEDIA_TYPE> type(static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE))));
    if (!type) return E_OUTOFMEMORY;
    HRESULT hr = DescribeMediaType(format, *type.get());
    if (SUCCEEDED(hr)) *out = type.release();
    return hr;
}

HRESULT CopyMediaType(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source) noexcept {
    target = source;
    target.pbFormat = nullptr;
    target.cbFormat = 0;
    if (source.cbFormat && source.pbFormat) {
        target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!target.pbFormat) {
            target.pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(target.pbFormat, source.pbFormat, source.cbFormat);
        target.cbFormat = source.cbFormat;
    }
    if (target.pUnk) target.pUnk->AddRef();
    return S_OK;
}

}  // namespace vardolin::democam
