// Fuzz target for the sizes SampleHDC is asked for: zero, negative, near the
// 16-bit and 32-bit limits, with offsets anywhere, over a tiny picture. The
// source agrees to canvases of at most 2 MiB, so only pictures that small
// (65,536 x 8 still is) are sampled and encoded; the rest must be refused
// before any pixel is touched.
//
// What each size must give: a bitmap whose size cannot be counted in 32 bits
// is the overflow error 6; an empty canvas or one the source refuses is
// status 1, after which saving is error 9; a picture taken is written, unless
// a side exceeds the 16 bits of the frame header (error 6), and decodes to
// its size.
#include <cstdint>
#include <limits>
#include <vector>

#include "encoder/tests/CanvasOnly.h"
#include "encoder/ClsJPEG.h"
#include "tools/fuzz/FuzzInput.h"
#include "encoder/tests/JpegDecoder.h"
#include "encoder/MemoryPicture.h"

namespace {

using namespace vardolin;
using fuzz::Finding;

constexpr size_t kCanvasLimit = size_t{1} << 21;

// Sizes and offsets start at one of these, moved by -128..127.
constexpr int64_t kLandmarks[] = {
    0,
    8,
    64,
    65500,
    65536,
    131072,
    1 << 20,
    std::numeric_limits<int32_t>::max() / 3,
    std::numeric_limits<int32_t>::max(),
    std::numeric_limits<int32_t>::min(),
};

int32_t Size(fuzz::Input& in) {
    const int64_t landmark = kLandmarks[in.Byte() % std::size(kLandmarks)];
    // Wraps around at the ends of the 32-bit range, as a caller's value would.
    return static_cast<int32_t>(static_cast<uint32_t>(landmark + static_cast<int8_t>(in.Byte())));
}

enum class Expected { Overflow, Refused, Taken };

bool Fits32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

// The canvas is both sides rounded up to multiples of 8, with 3 bytes per
// pixel and scan lines padded to 4 bytes; its size is counted in 32 bits.
Expected ExpectedFor(int32_t width, int32_t height) {
    if (!Fits32(int64_t(width) + 7) || !Fits32(int64_t(height) + 7)) return Expected::Overflow;
    const int64_t canvasWidth = int64_t((width + 7) & ~7), canvasHeight = int64_t((height + 7) & ~7);
    if (!Fits32(3 * canvasWidth) || !Fits32(3 * canvasWidth + 3)) return Expected::Overflow;
    const int64_t stride = (3 * canvasWidth + 3) & ~int64_t(3);
    if (!Fits32(stride * canvasHeight)) return Expected::Overflow;
    if (canvasWidth <= 0 || canvasHeight <= 0) return Expected::Refused;
    return uint64_t(stride * canvasHeight) <= kCanvasLimit ? Expected::Taken : Expected::Refused;
}

int32_t ErrorOf(ClsJPEG& encoder, std::vector<uint8_t>& file) {
    try {
        file = encoder.Encode();
    } catch (const ComponentError& e) {
        return e.number();
    }
    return 0;
}

void Run(fuzz::Input& in) {
    const uint8_t flags = in.Byte();
    const int32_t width = Size(in), height = Size(in), left = Size(in), top = Size(in);
    int32_t factors[6];
    for (int i = 0; i < 6; ++i) factors[i] = i < 2 ? 1 + in.Byte() % 4 : in.Byte() % 5;

    ClsJPEG encoder;
    try {
        encoder.SetSamplingFrequencies(factors[0], factors[1], factors[2], factors[3], factors[4], factors[5]);
    } catch (const ComponentError& e) {
        if (e.number() != 1) Finding("sampling error", e.description());
    }
    MemoryPicture picture(4, 4, std::vector<uint8_t>(48, in.Byte()));
    picture.SetCanvasLimit(kCanvasLimit);
    test::CanvasOnly canvasOnly(picture);
    PictureSource& source = flags & 1 ? static_cast<PictureSource&>(canvasOnly) : picture;

    const Expected expected = ExpectedFor(width, height);
    int32_t status = -1;
    try {
        status = encoder.SampleHDC(source, width, height, left, top);
    } catch (const ComponentError& e) {
        if (e.number() != 6 || expected != Expected::Overflow) Finding("SampleHDC failed:", e.description());
    }
    if (status == 0 && expected != Expected::Taken) Finding("a picture that should fail was taken");
    if (status == 1 && expected != Expected::Refused) Finding("status 1 for a picture that should be taken");

    std::vector<uint8_t> file;
    const int32_t error = ErrorOf(encoder, file);
    if (status != 0) {
        if (error != 9) Finding("saving without a picture is not error 9");
        return;
    }
    if (width > 65535 || height > 65535) {
        if (error != 6) Finding("a side above 65535 is not error 6");
        return;
    }
    if (error != 0) Finding("a picture taken was not written");
    if (width > 65500 || height > 65500) return;  // beyond the reference decoder
    for (const Component& c : encoder.ComponentList())
        if (encoder.MaxH() % c.H != 0 || encoder.MaxV() % c.V != 0) return;  // fractional: not decoded there
    const test::Decoded decoded = test::DecodeJpeg(file);
    if (!decoded.ok) Finding("output does not decode:", decoded.error.c_str());
    if (decoded.width != width || decoded.height != height) Finding("decoded size differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    Run(input);
    return 0;
}
