// PNG through libpng: grey, colour and palette pictures of any bit depth,
// interlaced or not, decoded to 8 bits per sample (16-bit samples rounded);
// alpha and transparency are ignored.
//
// libpng reports an error by a long jump. The functions that set the jump
// target (StartPng, PreparePng, DecodePng) and the callbacks it jumps over
// hold no object that needs destroying.
#include <png.h>

#include <csetjmp>
#include <string>
#include <vector>

#include "tools/PictureFormats.h"

namespace vardolin::tools {

namespace {

// A deflate stream expands to at most 1032 times its size.
constexpr uint64_t kDeflateExpansion = 1032;

struct PngState {
    ByteCursor* in = nullptr;
    bool truncated = false;
    std::string readError;  // a failure of the input itself
    std::string message;    // libpng's reason
};

void OnError(png_structp png, png_const_charp message) {
    static_cast<PngState*>(png_get_error_ptr(png))->message = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep data, size_t length) {
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    try {
        state->truncated = state->in->Take(data, length) != length;
    } catch (const ImageFileError& e) {
        state->readError = e.what();
    }
    if (state->truncated || !state->readError.empty()) png_error(png, "read failed");
}

struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, channels = 0;
    bool grey = false;
};

bool StartPng(png_structp png, png_infop info, PngHeader& header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.bitDepth = png_get_bit_depth(png, info);
    header.channels = png_get_channels(png, info);
    header.grey = (png_get_color_type(png, info) & PNG_COLOR_MASK_COLOR) == 0;
    return true;
}

// To 8-bit grey or red, green, blue, whatever the file holds.
bool PreparePng(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_scale_16(png);
    png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool DecodePng(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

class PngReadStruct {
public:
    explicit PngReadStruct(PngState& state)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {
        if (!info_) throw std::bad_alloc();
        png_set_read_fn(png_, &state, OnRead);
        png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);  // the size is checked by us
    }
    ~PngReadStruct() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReadStruct(const PngReadStruct&) = delete;
    PngReadStruct& operator=(const PngReadStruct&) = delete;

    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

[[noreturn]] void FailPng(const PngState& state) {
    if (!state.readError.empty()) Fail(state.readError);
    if (state.truncated) Fail("truncated PNG");
    Fail("malformed PNG: " + state.message);
}

}  // namespace

PictureLayout ReadPng(PictureBytes& bytes) {
    ByteCursor in(bytes);
    PngState state;
    state.in = &in;
    PngReadStruct reader(state);
    png_structp png = reader.Png();
    png_infop info = reader.Info();

    PngHeader header;
    if (!StartPng(png, info, header)) FailPng(state);
    CheckPictureSize(header.width, header.height);
    const uint64_t packed =
        uint64_t(header.height) * ((uint64_t(header.width) * header.channels * header.bitDepth + 7) / 8);
    if (packed / kDeflateExpansion > bytes.Size())
        Fail("truncated PNG (too short for " + std::to_string(header.width) + " x " + std::to_string(header.height) +
             " pixels)");
    if (!PreparePng(png, info)) FailPng(state);
    const int channels = png_get_channels(png, info);
    if (channels != (header.grey ? 1 : 3)) Fail("unsupported PNG layout");

    PictureLayout picture{DecodedLayout(int32_t(header.width), int32_t(header.height), header.grey), {}};
    picture.decoded.resize(size_t(picture.rows.rowBytes) * header.height);
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y) rows[y] = &picture.decoded[size_t(y) * picture.rows.rowBytes];
    if (!DecodePng(png, rows.data())) FailPng(state);
    return picture;
}

}  // namespace vardolin::tools
