// Fuzz target over the whole encoder on small pictures: size and offset,
// sampling factors, quality, comment, pixels, how the picture is taken (rows,
// or a canvas as the device-context source draws one) and the encoder path
// all come from the input. Sizes that are huge, zero or negative have a
// target of their own (SizesFuzzTarget.cpp).
//
// A picture this small must always be encoded, and the file must decode to
// the declared size; the one failure allowed is the overflow error for a
// comment character that needs two bytes. On request the same picture is
// encoded again the other way and through the plain path, and must give the
// same bytes.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "encoder/tests/CanvasOnly.h"
#include "encoder/ClsJPEG.h"
#include "tools/fuzz/FuzzInput.h"
#include "encoder/tests/JpegDecoder.h"
#include "encoder/MemoryPicture.h"
#include "encoder/tests/reference/PlainPath.h"

namespace {

using namespace vardolin;
using fuzz::Finding;

enum Flags : uint8_t {
    kCanvas = 1,       // the picture is drawn into a canvas instead of handing out rows
    kCompare = 2,      // encode again the other way and through the plain path
    kBadFactors = 4,   // factors may be 0 or -1
    kWideComment = 8,  // comment characters of 16 bits
    kWide = 16,        // up to 256 pixels wide instead of 40
};
constexpr int kPathShift = 5;  // bits 5..7 choose the encoder path

struct Settings {
    uint8_t flags = 0;
    int32_t width = 0, height = 0;
    int32_t factors[6] = {};
    int32_t quality = 0;
    int32_t left = 0, top = 0;
    std::u16string comment;
    std::vector<uint8_t> rgb;  // width x height pixels
};

Settings ReadSettings(fuzz::Input& in) {
    Settings s;
    s.flags = in.Byte();
    s.width = 1 + (s.flags & kWide ? in.Byte() : in.Byte() % 40);
    s.height = 1 + in.Byte() % 40;
    for (int32_t& f : s.factors) f = in.Byte() % 6 - (s.flags & kBadFactors ? 1 : 0);
    s.quality = static_cast<int8_t>(in.Byte());
    s.left = static_cast<int8_t>(in.Byte()) % 9;
    s.top = static_cast<int8_t>(in.Byte()) % 9;
    s.comment.resize(in.Byte() % 64);
    for (char16_t& c : s.comment) c = static_cast<char16_t>(in.Byte() | (s.flags & kWideComment ? in.Byte() << 8 : 0));
    size_t size = 0;
    const uint8_t* pixels = in.Rest(size);
    s.rgb.resize(size_t(s.width) * size_t(s.height) * 3);
    for (size_t i = 0; size > 0 && i < s.rgb.size(); i += size)
        std::memcpy(&s.rgb[i], pixels, std::min(size, s.rgb.size() - i));  // the pixel bytes over and over
    return s;
}

struct Outcome {
    std::vector<uint8_t> file;
    int32_t error = 0;  // the encoder's error number, 0 when the file was made
    std::string description;
};

Outcome Encode(const Settings& s, ClsJPEG& encoder, bool canvas, EncoderPath path) {
    try {
        encoder.SetSamplingFrequencies(s.factors[0], s.factors[1], s.factors[2], s.factors[3], s.factors[4],
                                       s.factors[5]);
    } catch (const ComponentError& e) {
        if (e.number() != 1) Finding("sampling error", e.description());
    }
    encoder.SetQuality(s.quality);
    encoder.SetComment(s.comment);
    if (!encoder.SetEncoderPath(path)) Finding("an available path was refused");
    MemoryPicture picture(s.width, s.height, s.rgb);
    test::CanvasOnly canvasOnly(picture);
    PictureSource& source = canvas ? static_cast<PictureSource&>(canvasOnly) : picture;
    Outcome outcome;
    try {
        if (encoder.SampleHDC(source, s.width, s.height, s.left, s.top) != 0) Finding("a small picture was refused");
        outcome.file = encoder.Encode();
    } catch (const ComponentError& e) {
        outcome.error = e.number();
        outcome.description = e.description();
    }
    return outcome;
}

// The reference decoder refuses fractional sampling ratios, which are valid.
bool DecoderSupports(const ClsJPEG& encoder) {
    for (const Component& c : encoder.ComponentList())
        if (encoder.MaxH() % c.H != 0 || encoder.MaxV() % c.V != 0) return false;
    return true;
}

void Run(fuzz::Input& in) {
    static const bool plainPathInstalled = test::InstallPlainPath();
    (void)plainPathInstalled;
    const Settings s = ReadSettings(in);
    const std::vector<EncoderPath>& paths = AvailableEncoderPaths();
    const EncoderPath path = paths[(s.flags >> kPathShift) % paths.size()];
    const bool canvas = s.flags & kCanvas;

    ClsJPEG encoder;
    const Outcome outcome = Encode(s, encoder, canvas, path);
    bool twoByteCharacter = false;
    for (char16_t c : s.comment) twoByteCharacter = twoByteCharacter || c > 0xFF;
    if (outcome.error != 0 && !(outcome.error == 6 && twoByteCharacter))
        Finding("a small picture was not encoded:", outcome.description.c_str());
    if (outcome.error == 0 && twoByteCharacter) Finding("a two-byte comment character was written");

    if (s.flags & kCompare) {
        ClsJPEG again;
        const Outcome other = Encode(s, again, !canvas, EncoderPath::Plain);
        if (other.error != outcome.error) Finding("the other way fails differently");
        if (other.file != outcome.file) Finding("the other way writes other bytes");
    }
    if (outcome.error != 0 || !DecoderSupports(encoder)) return;
    const test::Decoded decoded = test::DecodeJpeg(outcome.file);
    if (!decoded.ok) Finding("output does not decode:", decoded.error.c_str());
    if (decoded.width != s.width || decoded.height != s.height) Finding("decoded size differs");
    if (decoded.components != int(encoder.ComponentList().size())) Finding("component count differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    Run(input);
    return 0;
}
