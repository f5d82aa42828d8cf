// The file as written: segment order and contents, scan grouping, filler
// blocks, and that every variant decodes.
#include <gtest/gtest.h>

#include <string>

#include "encoder/ClsJPEG.h"
#include "encoder/tests/JpegDecoder.h"
#include "encoder/tests/Segments.h"
#include "encoder/tests/TestPictures.h"

namespace vardolin {
namespace {

using test::Segment;

std::vector<uint8_t> EncodeRgb(ClsJPEG& encoder, int width, int height, std::vector<uint8_t> rgb) {
    MemoryPicture picture(width, height, std::move(rgb));
    EXPECT_EQ(encoder.SampleHDC(picture, width, height), 0);
    return encoder.Encode();
}

std::vector<Segment> Find(const std::vector<Segment>& segments, uint8_t marker) {
    std::vector<Segment> found;
    for (const Segment& s : segments)
        if (s.marker == marker) found.push_back(s);
    return found;
}

void ExpectDecodes(const std::vector<uint8_t>& file, int width, int height, int components,
                   const std::vector<uint8_t>& rgb, double minimumPsnr) {
    test::Decoded decoded = test::DecodeJpeg(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.width, width);
    EXPECT_EQ(decoded.height, height);
    EXPECT_EQ(decoded.components, components);
    EXPECT_GE(test::Psnr(decoded, rgb), minimumPsnr);
}

TEST(FileLayout, GreyscaleSegments) {
    ClsJPEG encoder;
    encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    auto rgb = test::GradientRgb(40, 30);
    auto file = EncodeRgb(encoder, 40, 30, rgb);
    auto segments = test::Segments(file);
    EXPECT_EQ(test::Markers(segments), (std::vector<uint8_t>{0xD8, 0xE0, 0xFE, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA, 0xD9}));
    EXPECT_EQ(Find(segments, 0xC0)[0].length, 11);
    EXPECT_EQ(Find(segments, 0xDA)[0].length, 8);
    ExpectDecodes(file, 40, 30, 1, rgb, 30);
}

TEST(FileLayout, ColourSegments) {
    ClsJPEG encoder;
    auto file = EncodeRgb(encoder, 640, 480, test::GradientRgb(640, 480));
    auto segments = test::Segments(file);
    EXPECT_EQ(test::Markers(segments),
              (std::vector<uint8_t>{0xD8, 0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}));

    const std::vector<uint8_t> app0(file.begin() + 2, file.begin() + 20);
    EXPECT_EQ(app0, (std::vector<uint8_t>{0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00,
                                          0x01, 0x00, 0x01, 0x00, 0x00}));
    auto dqt = Find(segments, 0xDB);
    EXPECT_EQ(dqt[0].length, 67);
    EXPECT_EQ(dqt[0].payload[0], 0x00);
    EXPECT_EQ(dqt[1].payload[0], 0x01);
    EXPECT_EQ(dqt[0].payload[1], encoder.QuantTable(0).Qk[0]);

    const Segment sof = Find(segments, 0xC0)[0];
    EXPECT_EQ(sof.length, 17);
    EXPECT_EQ(sof.payload, (std::vector<uint8_t>{8, 0x01, 0xE0, 0x02, 0x80, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
    std::vector<int> classes;
    for (const Segment& dht : Find(segments, 0xC4)) {
        classes.push_back(dht.payload[0]);
        int count = 0;
        for (int k = 1; k <= 16; ++k) count += dht.payload[k];
        EXPECT_EQ(dht.length, 19 + count);
    }
    EXPECT_EQ(classes, (std::vector<int>{0x00, 0x10, 0x01, 0x11}));
    const Segment sos = Find(segments, 0xDA)[0];
    EXPECT_EQ(sos.length, 12);
    EXPECT_EQ(sos.payload, (std::vector<uint8_t>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0x00, 0x3F, 0x00}));
    EXPECT_EQ(file[file.size() - 2], 0xFF);
    EXPECT_EQ(file.back(), 0xD9);
}

TEST(FileLayout, CommentsCallersFirstThenTheEncoders) {
    ClsJPEG encoder;
    encoder.SetComment(u"x");
    auto file = EncodeRgb(encoder, 8, 8, test::FlatRgb(8, 8, 1, 2, 3));
    auto comments = Find(test::Segments(file), 0xFE);
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(comments[0].length, 3);
    EXPECT_EQ(comments[0].payload, std::vector<uint8_t>{'x'});
    std::string own(comments[1].payload.begin(), comments[1].payload.end());
    EXPECT_EQ(own.rfind("JPEG Encoder Class\r\n", 0), 0u);
    EXPECT_EQ(std::count(own.begin(), own.end(), '\n'), 2);
    EXPECT_NE(own.back(), '\n');

    encoder.SetComment(u"caf\u00e9");  // Latin-1 characters are single bytes
    file = encoder.Encode();
    EXPECT_EQ(Find(test::Segments(file), 0xFE)[0].payload.back(), 0xE9);
}

struct ScanCase {
    std::array<int, 6> factors;
    std::vector<std::vector<int>> scans;  // component ids per scan
};

TEST(FileLayout, ComponentsAreGroupedIntoScans) {
    const std::vector<ScanCase> cases = {
        {{1, 1, 0, 0, 0, 0}, {{1}}},         {{2, 2, 1, 1, 1, 1}, {{1, 2, 3}}},   {{1, 1, 1, 1, 1, 1}, {{1, 2, 3}}},
        {{2, 2, 2, 2, 2, 2}, {{1, 2}, {3}}}, {{4, 4, 1, 1, 1, 1}, {{1}, {2, 3}}}, {{4, 2, 2, 1, 1, 1}, {{1, 2}, {3}}},
        {{1, 2, 1, 1, 1, 1}, {{1, 2, 3}}},
    };
    auto rgb = test::GradientRgb(101, 67);
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.factors));
        ClsJPEG encoder;
        const auto& f = c.factors;
        encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
        auto file = EncodeRgb(encoder, 101, 67, rgb);
        std::vector<std::vector<int>> scans;
        for (const Segment& sos : Find(test::Segments(file), 0xDA)) {
            std::vector<int> ids;
            for (int k = 0; k < sos.payload[0]; ++k) ids.push_back(sos.payload[1 + 2 * k]);
            scans.push_back(ids);
        }
        EXPECT_EQ(scans, c.scans);
        ExpectDecodes(file, 101, 67, f[2] == 0 ? 1 : 3, rgb, 20);
    }
}

TEST(FileLayout, FillerBlocksAtEveryWidthAndHeight) {
    for (int width = 17; width <= 24; ++width) {
        for (int height : {9, 17, 24, 25}) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
            ClsJPEG encoder;
            auto rgb = test::GradientRgb(width, height);
            ExpectDecodes(EncodeRgb(encoder, width, height, rgb), width, height, 3, rgb, 24);
        }
    }
}

// When every real luminance block ends in a nonzero last coefficient, only
// the filler blocks need an end-of-block code; it must exist all the same.
TEST(FileLayout, FillerBlocksGetAnEndOfBlockCodeWhenNoRealBlockNeedsOne) {
    bool found = false;
    for (uint32_t seed = 1; seed < 500 && !found; ++seed) {
        ClsJPEG encoder;
        encoder.SetQuality(100);
        auto rgb = test::NoiseRgb(24, 16, seed);
        MemoryPicture picture(24, 16, rgb);
        ASSERT_EQ(encoder.SampleHDC(picture, 24, 16), 0);
        const std::vector<int16_t> luma = encoder.ComponentList()[0].Coefficients.Plain();
        bool allEndNonzero = true;
        for (size_t b = 0; b < luma.size(); b += 64) allEndNonzero &= luma[b + 63] != 0;
        if (!allEndNonzero) continue;
        found = true;
        auto file = encoder.Encode();
        EXPECT_NE(encoder.ACTable(0).CodeMask[0x00], 0);
        ExpectDecodes(file, 24, 16, 3, rgb, 10);  // noise loses its colour at 4:2:0
    }
    EXPECT_TRUE(found) << "no noise picture met the precondition";
}

}  // namespace
}  // namespace vardolin
