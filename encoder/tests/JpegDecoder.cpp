#include "encoder/tests/JpegDecoder.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vardolin::test {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->base.format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

}  // namespace

Decoded DecodeJpeg(const std::vector<uint8_t>& bytes) {
    Decoded result;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    // Corrupt data makes libjpeg warn and go on; a test wants to know.
    errors.base.emit_message = [](j_common_ptr info, int level) {
        if (level < 0) OnError(info);
    };
    if (setjmp(errors.jump)) {
        result.error = errors.message;
        jpeg_destroy_decompress(&info);
        return result;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    result.width = static_cast<int>(info.output_width);
    result.height = static_cast<int>(info.output_height);
    result.components = info.output_components;
    result.pixels.resize(size_t(result.width) * result.height * result.components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &result.pixels[size_t(info.output_scanline) * result.width * result.components];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    result.ok = true;
    return result;
}

double Psnr(const Decoded& decoded, const std::vector<uint8_t>& rgb) {
    const size_t pixels = size_t(decoded.width) * decoded.height;
    double squared = 0;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* source = &rgb[i * 3];
        if (decoded.components == 1) {
            double grey = 0.299 * source[0] + 0.587 * source[1] + 0.114 * source[2];
            double d = decoded.pixels[i] - grey;
            squared += d * d;
        } else {
            for (int c = 0; c < 3; ++c) {
                double d = double(decoded.pixels[i * 3 + c]) - source[c];
                squared += d * d / 3;
            }
        }
    }
    double mse = squared / double(pixels);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace vardolin::test
