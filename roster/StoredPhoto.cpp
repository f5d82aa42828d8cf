#include "StoredPhoto.h"

#include "PhotoFiles.h"

#include <windows.h>

namespace vardolin::roster {

bool HasStoredPhoto(const std::wstring& entry) {
    if (!capture::IsUsablePhotoName(entry)) return false;
    DWORD attributes = GetFileAttributesW(capture::PhotoPath(entry).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

}  // namespace vardolin::roster
