#include "win/MediaTypeFields.h"

#include "win/Win32Handles.h"

#include <cstring>

namespace vardolin {

void FreeMediaTypeFields(AM_MEDIA_TYPE& type) noexcept {
    UniqueCoTaskMem<BYTE> format(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    type = AM_MEDIA_TYPE{};
}

HRESULT CopyMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE& to) noexcept {
    to = from;
    to.pbFormat = nullptr;
    to.cbFormat = 0;
    if (from.cbFormat && from.pbFormat) {
        to.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from.cbFormat));
        if (!to.pbFormat) {
            to.pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(to.pbFormat, from.pbFormat, from.cbFormat);
        to.cbFormat = from.cbFormat;
    }
    if (to.pUnk) to.pUnk->AddRef();
    return S_OK;
}

}  // namespace vardolin
