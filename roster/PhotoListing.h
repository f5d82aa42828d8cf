// One listing of the photo folder: the ordinary files in it under the names
// the file system stores, with their size and time. What is done and the
// class sheet read this listing instead of asking for each entry's file, so
// a folder on a slow share is asked once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace vardolin::roster {

struct ListedFile {
    uint64_t bytes = 0;
    FILETIME written{};
};

// Keyed by the stored name, exactly (case included).
using PhotoListing = std::map<std::wstring, ListedFile>;

// The ordinary files of `folder` (no folders, hidden or system files); empty
// when the folder is missing or cannot be read.
PhotoListing ListPhotoFolder(const std::filesystem::path& folder);

// The listed photo of an entry: "<entry>.jpg" under exactly that stored name,
// for an entry that can be a photo's name (HasStoredPhoto's rule, read from
// the listing); null otherwise.
const ListedFile* ListedPhoto(const PhotoListing& listing, const std::wstring& entry);

}  // namespace vardolin::roster
