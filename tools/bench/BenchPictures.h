// The pictures the whole-process comparison encodes, written as PPM files
// into a folder of their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::bench {

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top row first, red, green, blue
};

// A photo-like picture: smooth shading, edges and a little sensor noise.
RgbPicture SmoothPicture(int width, int height);

// The photographs found in folder (JPEG files, in name order), decoded.
std::vector<RgbPicture> LoadPhotos(const std::filesystem::path& folder);

// The photos side by side at their own resolution, row after row, each row
// as high as its lowest photo and every photo cut at the right edge; the
// photos repeat until the picture is full. Empty when there is no photo.
RgbPicture TiledPhotos(const std::vector<RgbPicture>& photos, int width, int height);

// The width x height rectangle at the centre of a photo.
RgbPicture CentreCrop(const RgbPicture& photo, int width, int height);

// Of the photos' centre crops, the one with the most detail (the largest sum
// of differences between neighbouring samples).
RgbPicture MostDetailedCrop(const std::vector<RgbPicture>& photos, int width, int height);

void WritePpm(const RgbPicture& picture, const std::filesystem::path& path);

}  // namespace vardolin::bench
