// Pictures through the whole encoder and back through a real decoder, and the
// sampling stage's geometry and arithmetic.
#include <gtest/gtest.h>

#include "encoder/ClsJPEG.h"
#include "encoder/tests/JpegDecoder.h"
#include "encoder/tests/TestPictures.h"

namespace vardolin {
namespace {

TEST(RoundTrip, PhotoSizeAtEveryQualityAndSampling) {
    auto rgb = test::GradientRgb(156, 188);
    for (auto factors : {std::array<int, 6>{1, 1, 1, 1, 1, 1}, std::array<int, 6>{2, 2, 1, 1, 1, 1}}) {
        for (int quality : {30, 50, 75, 90, 100}) {
            ClsJPEG encoder;
            encoder.SetQuality(quality);
            encoder.SetSamplingFrequencies(factors[0], factors[1], factors[2], factors[3], factors[4], factors[5]);
            MemoryPicture picture(156, 188, rgb);
            ASSERT_EQ(encoder.SampleHDC(picture, 156, 188), 0);
            test::Decoded decoded = test::DecodeJpeg(encoder.Encode());
            ASSERT_TRUE(decoded.ok) << decoded.error;
            EXPECT_EQ(decoded.width, 156);
            EXPECT_EQ(decoded.height, 188);
            const double floor = factors[0] == 2 ? 25 : quality >= 90 ? 36 : 29;  // 4:2:0 loses colour edges
            EXPECT_GE(test::Psnr(decoded, rgb), floor) << quality;
        }
    }
}

TEST(RoundTrip, TinyPictures) {
    for (int size : {1, 2, 7, 8, 9}) {
        ClsJPEG encoder;
        auto rgb = test::NoiseRgb(size, size, 7);
        MemoryPicture picture(size, size, rgb);
        ASSERT_EQ(encoder.SampleHDC(picture, size, size), 0);
        test::Decoded decoded = test::DecodeJpeg(encoder.Encode());
        ASSERT_TRUE(decoded.ok) << size << ": " << decoded.error;
        EXPECT_EQ(decoded.width, size);
    }
}

TEST(Sampling, ComponentAreasAndCoefficientCounts) {
    struct Case {
        int width, height;
        std::array<int, 6> factors;
        std::vector<size_t> counts;
    };
    for (const Case& c : std::vector<Case>{{16, 16, {1, 1, 1, 1, 1, 1}, {256, 256, 256}},
                                           {20, 10, {2, 2, 1, 1, 1, 1}, {384, 128, 128}},
                                           {5, 5, {2, 2, 1, 1, 1, 1}, {64, 64, 64}}}) {
        ClsJPEG encoder;
        const auto& f = c.factors;
        encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
        MemoryPicture picture(c.width, c.height, test::GradientRgb(c.width, c.height));
        ASSERT_EQ(encoder.SampleHDC(picture, c.width, c.height), 0);
        std::vector<size_t> counts;
        for (const Component& component : encoder.ComponentList()) counts.push_back(component.Coefficients.size());
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(encoder.ComponentList()[2].Id, 3);
    }
}

TEST(Sampling, FlatBlocks) {
    ClsJPEG encoder;
    encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    MemoryPicture grey(8, 8, test::FlatRgb(8, 8, 128, 128, 128));
    ASSERT_EQ(encoder.SampleHDC(grey, 8, 8), 0);
    for (const Component& c : encoder.ComponentList())
        for (int16_t v : c.Coefficients.Plain()) EXPECT_EQ(v, 0);

    MemoryPicture white(8, 8, test::FlatRgb(8, 8, 255, 255, 255));
    ASSERT_EQ(encoder.SampleHDC(white, 8, 8), 0);
    EXPECT_EQ(encoder.ComponentList()[0].Coefficients.Plain()[0], 127);  // 8128 * 0.125 / 8
}

TEST(Sampling, EdgePixelsAreRepeatedIntoThePadding) {
    // A 9 x 9 picture padded to 16 x 16 encodes like the 16 x 16 picture that
    // repeats its last column and row.
    auto small = test::NoiseRgb(9, 9, 3);
    std::vector<uint8_t> padded(16 * 16 * 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            for (int c = 0; c < 3; ++c)
                padded[(y * 16 + x) * 3 + c] = small[(std::min(y, 8) * 9 + std::min(x, 8)) * 3 + c];
    ClsJPEG a, b;
    a.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    b.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    MemoryPicture smallPicture(9, 9, small), paddedPicture(16, 16, padded);
    ASSERT_EQ(a.SampleHDC(smallPicture, 9, 9), 0);
    ASSERT_EQ(b.SampleHDC(paddedPicture, 16, 16), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(a.ComponentList()[i].Coefficients.Plain(), b.ComponentList()[i].Coefficients.Plain());
}

TEST(Sampling, SourceOffsetSelectsTheRectangle) {
    auto rgb = test::GradientRgb(64, 48);
    std::vector<uint8_t> cropped;
    for (int y = 10; y < 40; ++y)
        cropped.insert(cropped.end(), rgb.begin() + (y * 64 + 5) * 3, rgb.begin() + (y * 64 + 45) * 3);
    ClsJPEG whole, part;
    MemoryPicture wholePicture(64, 48, rgb), partPicture(40, 30, cropped);
    ASSERT_EQ(whole.SampleHDC(wholePicture, 40, 30, 5, 10), 0);
    ASSERT_EQ(part.SampleHDC(partPicture, 40, 30), 0);
    EXPECT_EQ(whole.Encode(), part.Encode());
}

TEST(Encoding, SameCoefficientsGiveTheSameBytes) {
    ClsJPEG encoder;
    MemoryPicture picture(203, 157, test::GradientRgb(203, 157));
    ASSERT_EQ(encoder.SampleHDC(picture, 203, 157), 0);
    auto first = encoder.Encode();
    EXPECT_EQ(encoder.Encode(), first);
}

// The encoder's output is fixed by its arithmetic; any change of a byte here
// means the rounding changed somewhere (compiler flags, a faster path).
TEST(Encoding, OutputIsBitExact) {
    auto fnv = [](const std::vector<uint8_t>& bytes) {
        uint64_t h = 1469598103934665603ull;
        for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
        return h;
    };
    ClsJPEG colour;
    MemoryPicture picture(203, 157, test::GradientRgb(203, 157));
    ASSERT_EQ(colour.SampleHDC(picture, 203, 157), 0);
    ClsJPEG exact;
    exact.SetQuality(97);
    exact.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    MemoryPicture noise(61, 45, test::NoiseRgb(61, 45, 11));
    ASSERT_EQ(exact.SampleHDC(noise, 61, 45), 0);
    EXPECT_EQ(fnv(colour.Encode()), 13471748505995599298ull);
    EXPECT_EQ(fnv(exact.Encode()), 17637027154009611299ull);
}

}  // namespace
}  // namespace vardolin
