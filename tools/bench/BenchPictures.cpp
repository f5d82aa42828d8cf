#include "tools/bench/BenchPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

namespace vardolin::bench {

RgbPicture SmoothPicture(int width, int height) {
    RgbPicture picture{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    std::mt19937 random(42);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double fx = double(x) / width, fy = double(y) / height;
            double shade = 0.5 + 0.4 * std::sin(6.0 * fx + 3.0 * fy) * std::cos(4.0 * fy);
            bool figure = std::hypot(fx - 0.5, (fy - 0.45) * 1.3) < 0.25;
            int noise = int(random() % 9) - 4;
            uint8_t* p = &picture.rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(std::clamp(int(255 * (figure ? 0.8 : shade)) + noise, 0, 255));
            p[1] = uint8_t(std::clamp(int(200 * shade) + noise, 0, 255));
            p[2] = uint8_t(std::clamp(int(255 * (figure ? 0.5 : 1 - shade)) + noise, 0, 255));
        }
    return picture;
}

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Decodes a JPEG file to RGB; an empty picture for anything unreadable.
RgbPicture DecodeJpegFile(const std::filesystem::path& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = [](j_common_ptr) { throw std::runtime_error("undecodable photo"); };
    RgbPicture picture;
    try {
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file.get());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        picture.width = int(info.output_width);
        picture.height = int(info.output_height);
        picture.rgb.resize(size_t(picture.width) * picture.height * 3);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = &picture.rgb[size_t(info.output_scanline) * picture.width * 3];
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
    } catch (const std::runtime_error&) {
        picture = {};
    }
    jpeg_destroy_decompress(&info);
    return picture;
}

}  // namespace

std::vector<RgbPicture> LoadPhotos(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == ".jpg") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<RgbPicture> photos;
    for (const auto& file : files) {
        RgbPicture photo = DecodeJpegFile(file);
        if (photo.width > 0) photos.push_back(std::move(photo));
    }
    return photos;
}

RgbPicture TiledPhotos(const std::vector<RgbPicture>& photos, int width, int height) {
    if (photos.empty()) return {};
    RgbPicture picture{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    size_t next = 0;
    for (int top = 0; top < height;) {
        // The photos of this row, and the height they all have.
        std::vector<const RgbPicture*> row;
        int rowHeight = height - top;
        for (int x = 0; x < width; x += row.back()->width) {
            row.push_back(&photos[next++ % photos.size()]);
            rowHeight = std::min(rowHeight, row.back()->height);
        }
        int left = 0;
        for (const RgbPicture* photo : row) {
            const int columns = std::min(photo->width, width - left);
            for (int y = 0; y < rowHeight; ++y)
                std::copy_n(&photo->rgb[size_t(y) * photo->width * 3], size_t(columns) * 3,
                            &picture.rgb[(size_t(top + y) * width + left) * 3]);
            left += columns;
        }
        top += rowHeight;
    }
    return picture;
}

RgbPicture CentreCrop(const RgbPicture& photo, int width, int height) {
    RgbPicture crop{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    const int left = std::max(0, (photo.width - width) / 2), top = std::max(0, (photo.height - height) / 2);
    for (int y = 0; y < height && top + y < photo.height; ++y)
        std::copy_n(&photo.rgb[(size_t(top + y) * photo.width + left) * 3],
                    size_t(std::min(width, photo.width - left)) * 3, &crop.rgb[size_t(y) * width * 3]);
    return crop;
}

RgbPicture MostDetailedCrop(const std::vector<RgbPicture>& photos, int width, int height) {
    RgbPicture best;
    int64_t bestDetail = -1;
    for (const RgbPicture& photo : photos) {
        RgbPicture crop = CentreCrop(photo, width, height);
        int64_t detail = 0;
        for (size_t i = 3; i < crop.rgb.size(); ++i) detail += std::abs(int(crop.rgb[i]) - int(crop.rgb[i - 3]));
        if (detail > bestDetail) best = std::move(crop), bestDetail = detail;
    }
    return best;
}

void WritePpm(const RgbPicture& picture, const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()), std::streamsize(picture.rgb.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace vardolin::bench
