// The About window's artwork: a 500 x 350 JPEG stored in the module's
// resources, decoded by the platform's picture loader.
#pragma once

#include "win/Win32Handles.h"

#include <windows.h>

#include <span>

namespace vardolin::about {

inline constexpr int kArtworkWidth = 500;
inline constexpr int kArtworkHeight = 350;

// The JPEG bytes as stored in the module; empty when the resource is missing.
std::span<const BYTE> ArtworkJpeg() noexcept;

// Decodes JPEG data into a bitmap of its own; empty when it cannot be decoded.
vardolin::UniqueBitmap DecodePicture(std::span<const BYTE> jpeg) noexcept;

// The decoded artwork; empty when it cannot be had (the window then shows a
// plain background).
vardolin::UniqueBitmap LoadArtwork() noexcept;

}  // namespace vardolin::about
