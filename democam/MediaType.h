// AM_MEDIA_TYPE ownership: the format block and pUnk belong to the struct,
// and a media type handed out through a pointer is itself CoTaskMem memory.
#pragma once

#include "democam/VideoFormat.h"
#include "win/MediaTypeFields.h"

#include <windows.h>
#include <strmif.h>

namespace vardolin::democam {

// A media type for an out-parameter (caller frees it with DeleteMediaType).
HRESULT NewMediaType(const VideoFormat& format, AM_MEDIA_TYPE** out) noexcept;

class OwnedMediaType {
public:
    OwnedMediaType() noexcept = default;
    OwnedMediaType(const OwnedMediaType&) = delete;
    OwnedMediaType& operator=(const OwnedMediaType&) = delete;
    ~OwnedMediaType() { FreeMediaTypeFields(type_); }

    HRESULT Set(const VideoFormat& format) noexcept {
        Clear();
        return DescribeMediaType(format, type_);
    }
    void Clear() noexcept {
        FreeMediaTypeFields(type_);
        type_ = AM_MEDIA_TYPE{};
    }
    const AM_MEDIA_TYPE& get() const noexcept { return type_; }

private:
    AM_MEDIA_TYPE type_{};
};

}  // namespace vardolin::democam
