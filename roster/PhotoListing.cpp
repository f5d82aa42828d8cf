#include "roster/PhotoListing.h"

#include "roster/PhotoFiles.h"
#include "win/Win32Handles.h"

namespace vardolin::roster {

PhotoListing ListPhotoFolder(const std::filesystem::path& folder) {
    PhotoListing listing;
    WIN32_FIND_DATAW found{};
    UniqueSearch search = AdoptSearch(FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found,
                                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return listing;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        listing[found.cFileName] = {(uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow, found.ftLastWriteTime};
    } while (FindNextFileW(search.get(), &found));
    return listing;
}

const ListedFile* ListedPhoto(const PhotoListing& listing, const std::wstring& entry) {
    if (!IsUsablePhotoName(entry)) return nullptr;
    auto it = listing.find(entry + L".jpg");
    return it == listing.end() ? nullptr : &it->second;
}

}  // namespace vardolin::roster
