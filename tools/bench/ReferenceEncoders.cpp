#include "tools/bench/ReferenceEncoders.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <stb/stb_image_write.h>

namespace vardolin::bench {

long EncodeLibjpeg(const std::vector<uint8_t>& rgb, int width, int height, bool subsampled) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    info.dct_method = JDCT_FLOAT;
    info.optimize_coding = TRUE;
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = subsampled ? 2 : 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(info.next_scanline) * width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return long(size);
}

long EncodeStb(const std::vector<uint8_t>& rgb, int width, int height, bool) {
    long size = 0;
    stbi_write_jpg_to_func([](void* context, void*, int n) { *static_cast<long*>(context) += n; }, &size, width, height,
                           3, rgb.data(), 75);
    return size;
}

}  // namespace vardolin::bench
