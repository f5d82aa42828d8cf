// The fields of a DirectShow media type that own memory: the format block
// (CoTaskMem) and pUnk. Our sink filter and the demo camera hand types across
// COM with these, so they are written once.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace vardolin {

// Frees the format block and releases pUnk, leaving an empty type.
void FreeMediaTypeFields(AM_MEDIA_TYPE& type) noexcept;

// Fills to (whose fields must be free) with a deep copy of from: the format
// block copied, pUnk with a reference of its own.
HRESULT CopyMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE& to) noexcept;

}  // namespace vardolin
