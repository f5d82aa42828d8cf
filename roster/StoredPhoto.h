// Whether the photo of a roster entry is already stored.
#pragma once

#include <string>

namespace vardolin::roster {

// True when the exact file "Pic\<entry>.jpg" beside the component exists as
// an ordinary file (not a folder, not hidden, not a system file). The entry
// is never read as a pattern: an entry that cannot be a photo's name (with
// "*", "?", a path separator, ...) has no stored photo.
bool HasStoredPhoto(const std::wstring& entry);

}  // namespace vardolin::roster
