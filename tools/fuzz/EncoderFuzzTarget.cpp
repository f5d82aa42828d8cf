// Fuzz target over the whole encoder: picture size and offset, sampling
// factors, quality, comment and pixels all come from the input. A file that
// is produced must decode to the declared size; a failure must be one of the
// encoder's own errors.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ClsJPEG.h"
#include "JpegDecoder.h"
#include "MemoryPicture.h"

namespace {

using namespace vardolin;

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
    const uint8_t* Rest(size_t& size) const {
        size = size_ - std::min(at_, size_);
        return data_ + std::min(at_, size_);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

[[noreturn]] void Finding(const char* what, const char* detail = "") {
    std::fprintf(stderr, "FINDING: %s %s\n", what, detail);
    std::abort();
}

// The reference decoder refuses fractional sampling ratios and sizes above
// 65500 pixels, both of which are valid files.
bool DecoderSupports(const ClsJPEG& encoder) {
    if (encoder.ImageWidthValue() > 65500 || encoder.ImageHeightValue() > 65500) return false;
    for (const Component& c : encoder.ComponentList())
        if (encoder.MaxH() % c.H != 0 || encoder.MaxV() % c.V != 0) return false;  // fractional
    return true;
}

void Run(Input& in) {
    const uint8_t flags = in.Byte();
    int32_t width = 1 + in.Word() % 128;
    int32_t height = 1 + in.Word() % 128;
    if (flags & 1) width = static_cast<int16_t>(in.Word()) * 4;   // also zero, negative, huge
    if (flags & 2) height = static_cast<int16_t>(in.Word()) * 4;
    int32_t factors[6];
    for (int32_t& f : factors) f = in.Byte() % 6 - (flags & 4 ? 1 : 0);
    const int32_t quality = static_cast<int8_t>(in.Byte());
    const int32_t left = static_cast<int8_t>(in.Byte()) % 9, top = static_cast<int8_t>(in.Byte()) % 9;
    std::u16string comment(in.Byte() % 64, u'\0');
    for (char16_t& c : comment) c = static_cast<char16_t>(in.Byte() | (flags & 8 ? in.Byte() << 8 : 0));

    size_t size = 0;
    const uint8_t* pixels = in.Rest(size);
    const int32_t sourceWidth = std::clamp(width, 1, 128), sourceHeight = std::clamp(height, 1, 128);
    std::vector<uint8_t> rgb(size_t(sourceWidth) * sourceHeight * 3);
    for (size_t i = 0; i < rgb.size() && size > 0; ++i) rgb[i] = pixels[i % size];
    MemoryPicture picture(sourceWidth, sourceHeight, std::move(rgb));
    picture.SetCanvasLimit(size_t{1} << 24);

    ClsJPEG encoder;
    try {
        encoder.SetSamplingFrequencies(factors[0], factors[1], factors[2], factors[3], factors[4], factors[5]);
    } catch (const JpegError& e) {
        if (e.code() != 1) Finding("sampling error", e.description());
    }
    encoder.SetQuality(quality);
    encoder.SetComment(comment);
    std::vector<uint8_t> file;
    try {
        encoder.SampleHDC(picture, width, height, left, top);
        file = encoder.Encode();
    } catch (const JpegError& e) {
        if (e.code() != 6 && e.code() != 9) Finding("unexpected error", e.description());
        return;
    }
    if (!DecoderSupports(encoder)) return;
    test::Decoded decoded = test::DecodeJpeg(file);
    if (!decoded.ok) Finding("output does not decode:", decoded.error.c_str());
    if (decoded.width != width || decoded.height != height) Finding("decoded size differs");
    if (decoded.components != int(encoder.ComponentList().size())) Finding("component count differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    Run(input);
    return 0;
}
