// The fast paths against the plain one: every vectorised transform, the
// word-sized bit writer, the one-pass statistics and the drawing of the
// picture band by band must leave exactly the coefficients, tables and bytes
// of the plain path on a whole canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <array>
#include <random>

#include "encoder/BitSink.h"
#include "encoder/tests/reference/BitWriter.h"
#include "encoder/tests/CanvasOnly.h"
#include "encoder/ClsJPEG.h"
#include "encoder/tests/reference/PlainPath.h"
#include "encoder/Quantization.h"
#include "encoder/SizeCategory.h"
#include "encoder/tests/TestPictures.h"

namespace vardolin {
namespace {

[[maybe_unused]] const bool kPlainPathInstalled = test::InstallPlainPath();

// Random content of several kinds: noise, smooth shading with noise, hard
// black and white edges (the largest coefficients), and flat areas.
std::vector<uint8_t> RandomPicture(int width, int height, std::mt19937& random) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    const int kind = random() % 4;
    const int noise = 1 + random() % 40;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                int value = 0;
                switch (kind) {
                case 0: value = random() & 0xFF; break;
                case 1: value = (x * (c + 1) + y * (3 - c)) % 256 + int(random() % noise) - noise / 2; break;
                case 2: value = ((x / (1 + c) + y / 3) % 2) * 255; break;
                case 3: value = (x < width / 2 ? 40 : 200) + c * 7; break;
                }
                rgb[(size_t(y) * width + x) * 3 + c] = static_cast<uint8_t>(std::clamp(value, 0, 255));
            }
    return rgb;
}

struct Encoded {
    std::vector<std::vector<int16_t>> coefficients;
    std::vector<uint8_t> file;
};

Encoded EncodeOnPath(EncoderPath path, const MemoryPicture& source, const std::array<int, 6>& factors, int quality,
                     int width, int height, int left, int top) {
    ClsJPEG encoder;
    EXPECT_TRUE(encoder.SetEncoderPath(path));
    encoder.SetQuality(quality);
    encoder.SetSamplingFrequencies(factors[0], factors[1], factors[2], factors[3], factors[4], factors[5]);
    MemoryPicture picture = source;
    test::CanvasOnly onCanvas(picture);
    // The plain path is the reference: on a whole canvas. The others draw band by band.
    PictureSource& drawn = path == EncoderPath::Plain ? static_cast<PictureSource&>(onCanvas) : picture;
    EXPECT_EQ(encoder.SampleHDC(drawn, width, height, left, top), 0);
    Encoded encoded;
    for (const Component& c : encoder.ComponentList()) encoded.coefficients.push_back(c.Coefficients.Plain());
    encoded.file = encoder.Encode();
    return encoded;
}

TEST(FastPaths, AreOnByDefault) {
    EXPECT_NE(FastestEncoderPath(), EncoderPath::Plain);
    EXPECT_EQ(ClsJPEG().Path(), FastestEncoderPath());
    EXPECT_EQ(AvailableEncoderPaths().front(), EncoderPath::Plain);
}

TEST(FastPaths, WriteTheSameCoefficientsAndBytesAsThePlainPath) {
    const std::array<int, 6> samplings[] = {
        {1, 1, 1, 1, 1, 1}, {2, 2, 1, 1, 1, 1}, {1, 1, 0, 0, 0, 0}, {2, 1, 1, 1, 1, 1}, {1, 2, 1, 1, 1, 1},
        {2, 2, 2, 2, 2, 2}, {4, 4, 1, 1, 1, 1}, {4, 2, 2, 1, 1, 1}, {3, 1, 1, 1, 1, 1}, {1, 1, 2, 2, 1, 1}};
    const int qualities[] = {1, 30, 75, 97, 100};
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        // Mostly small sizes, to reach every edge case of the block grid, and
        // now and then one of several hundred pixels.
        const int width = round % 10 == 9 ? 200 + random() % 300 : 1 + random() % 70;
        const int height = round % 10 == 9 ? 100 + random() % 200 : 1 + random() % 70;
        const auto& factors = samplings[round % std::size(samplings)];
        const int quality = qualities[random() % std::size(qualities)];
        // A source rectangle partly outside the picture reads black there.
        const int left = round % 7 == 3 ? int(random() % 9) - 4 : 0;
        const int top = round % 7 == 5 ? int(random() % 9) - 4 : 0;
        const MemoryPicture source(width, height, RandomPicture(width, height, random));
        SCOPED_TRACE(testing::Message() << width << " x " << height << " at " << left << ", " << top << ", factors "
                                        << factors[0] << factors[1] << factors[2] << factors[3] << factors[4]
                                        << factors[5] << ", quality " << quality);

        const Encoded plain = EncodeOnPath(EncoderPath::Plain, source, factors, quality, width, height, left, top);
        for (EncoderPath path : AvailableEncoderPaths()) {
            if (path == EncoderPath::Plain) continue;
            SCOPED_TRACE(EncoderPathName(path));
            const Encoded fast = EncodeOnPath(path, source, factors, quality, width, height, left, top);
            ASSERT_EQ(fast.coefficients, plain.coefficients);
            ASSERT_EQ(fast.file, plain.file);
        }
    }
}

// Block rows of every kind through the compact store: sparse and dense
// blocks, long zero runs, a last value that is not zero, values up to the
// 16-bit limits (which keep a row plain). What comes back must be what went
// in, and the token statistics must equal a count over the plain values.
TEST(FastPaths, CoefficientStoreGivesBackEveryValueAndCountsItsSymbols) {
    std::mt19937 random(21);
    for (int round = 0; round < 40; ++round) {
        const int blocksPerRow = 1 + random() % 12, rows = 1 + random() % 5;
        const int density = round % 4;  // 0: all zero .. 3: mostly nonzero
        const int largest = round % 5 == 4 ? 32767 : round % 5 == 3 ? 1500 : 200;
        std::vector<int16_t> values(size_t(blocksPerRow) * rows * 64);
        for (int16_t& v : values)
            if (int(random() % 8) < 2 * density) v = int16_t(int(random() % (2 * largest + 1)) - largest);
        if (round % 7 == 6) values[0] = -32768, values[63] = -32768;
        CoefficientStore store;
        store.Start(blocksPerRow, rows);
        for (int r = 0; r < rows; ++r) store.AppendBlockRow(&values[size_t(r) * blocksPerRow * 64]);
        ASSERT_EQ(store.Plain(), values) << "round " << round;

        SymbolCounts expected{}, counted{};
        for (size_t b = 0; b < values.size(); b += 64) {
            int run = 0;
            for (int k = 1; k < 64; ++k) {
                if (values[b + k] == 0) {
                    ++run;
                    continue;
                }
                expected[0xF0] += run / 16;
                ++expected[(run % 16) * 16 + Category(values[b + k])];
                run = 0;
            }
            if (run > 0) ++expected[0x00];
        }
        store.CountACSymbols(counted);
        ASSERT_EQ(counted, expected) << "round " << round;
    }
}

// Each kernel against the plain one on random pixel rows, compared before
// quantization too: a value rounded differently anywhere in the colour
// conversion or the DCT shows in the float outputs, even where quantization
// would hide it.
TEST(FastPaths, KernelsTransformEveryValueLikeThePlainKernel) {
    const ColourFactors colours[] = {
        {0.299f, 0.587f, 0.114f, -128.0}, {-0.16874f, -0.33126f, 0.5f, 0.0}, {0.5f, -0.41869f, -0.08131f, 0.0}};
    std::mt19937 random(11);
    for (int round = 0; round < 24; ++round) {
        const int blocks = 1 + random() % 300;
        std::vector<uint8_t> pixels(size_t(8) * blocks * 24);
        const int kind = round % 3;  // noise, hard edges, small steps
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = kind == 0 ? random() & 0xFF : kind == 1 ? (random() % 2) * 255 : 100 + random() % 5;
        ClsJPEG tables;
        tables.SetQuality(1 + random() % 100);
        const auto& scale = tables.QuantTable(round % 2).Scale;
        double scaleByColumn[64];
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) scaleByColumn[u * 8 + v] = scale[ZigZag[v][u]];

        // One, two or three components reading the same pixels.
        const int count = 1 + round % 3;
        using Output = std::pair<std::vector<int16_t>, std::vector<float>>;
        auto run = [&](EncoderPath path) {
            std::vector<Output> outputs(
                count, {std::vector<int16_t>(size_t(blocks) * 64), std::vector<float>(size_t(blocks) * 64)});
            BlockRowJob job{{}, blocks, count, {}};
            for (int r = 0; r < 8; ++r) job.rows[r] = pixels.data() + size_t(r) * blocks * 24;
            for (int c = 0; c < count; ++c)
                job.components[c] = {&colours[(round + c) % 3], scaleByColumn, outputs[c].first.data(),
                                     outputs[c].second.data()};
            EXPECT_TRUE(KernelsFor(path)->transformBlockRow(job));
            return outputs;
        };
        const std::vector<Output> plain = run(EncoderPath::Plain);
        for (EncoderPath path : AvailableEncoderPaths()) {
            if (path == EncoderPath::Plain) continue;
            const std::vector<Output> fast = run(path);
            for (int c = 0; c < count; ++c) {
                const auto& [coefficients, transformed] = fast[c];
                ASSERT_EQ(std::memcmp(transformed.data(), plain[c].second.data(), transformed.size() * sizeof(float)),
                          0)
                    << EncoderPathName(path) << ", round " << round << ", component " << c;
                ASSERT_EQ(coefficients, plain[c].first) << EncoderPathName(path) << ", round " << round;
            }
        }
    }
}

// With multipliers no quantization table has, quantized values leave the
// 16-bit range (and, further out, the 32-bit range): every kernel must notice
// exactly when the plain one does.
TEST(FastPaths, KernelsRefuseValuesOutsideSixteenBitsLikeThePlainKernel) {
    const ColourFactors luma{0.299f, 0.587f, 0.114f, -128.0};
    std::mt19937 random(9);
    std::vector<uint8_t> pixels(size_t(8) * 4 * 24);
    for (uint8_t& p : pixels) p = random() % 2 ? 255 : 0;
    for (double multiplier : {1.0, 3.0, 4.0, 20.0, 40.0, 1e12}) {
        double scaleByColumn[64];
        for (double& scale : scaleByColumn) scale = multiplier;
        auto accepted = [&](EncoderPath path) {
            std::vector<int16_t> coefficients(4 * 64);
            BlockRowJob job{{}, 4, 1, {{&luma, scaleByColumn, coefficients.data()}}};
            for (int r = 0; r < 8; ++r) job.rows[r] = pixels.data() + size_t(r) * 4 * 24;
            return KernelsFor(path)->transformBlockRow(job);
        };
        const bool plain = accepted(EncoderPath::Plain);
        if (multiplier == 1.0) {
            EXPECT_TRUE(plain);
        } else if (multiplier >= 40.0) {
            EXPECT_FALSE(plain);
        }
        for (EncoderPath path : AvailableEncoderPaths())
            EXPECT_EQ(accepted(path), plain) << EncoderPathName(path) << ", multiplier " << multiplier;
    }
}

// Random bit strings through the plain BitWriter alone, and through the
// BitSink with the BitWriter before and after it in the same stream.
TEST(FastPaths, BitSinkWritesWhatWriteBitsWrites) {
    std::mt19937 random(77);
    for (int round = 0; round < 200; ++round) {
        struct Code {
            int32_t length;
            uint32_t bits;
        };
        std::vector<Code> codes(random() % 300);
        const bool mostlyOnes = round % 2 == 0;  // many 0xFF bytes to stuff
        for (Code& code : codes) {
            code.length = random() % 33;
            const uint32_t all = code.length == 32 ? ~0u : (1u << code.length) - 1;
            code.bits = (mostlyOnes ? ~uint32_t(random() % 4 == 0 ? random() : 0) : uint32_t(random())) & all;
        }
        auto writeBits = [](test::BitWriter& out, const Code& code) {
            // WriteBits takes at most 31 bits at a time.
            if (code.length > 16) out.WriteBits(1 << (code.length - 17), int32_t(code.bits >> 16));
            const int32_t low = std::min(code.length, 16);
            if (low > 0) out.WriteBits(1 << (low - 1), int32_t(code.bits & 0xFFFF));
        };
        const size_t before = codes.size() / 3, after = codes.size() - codes.size() / 4;

        OutputStream plain;
        test::BitWriter plainBits(plain);
        for (const Code& code : codes) writeBits(plainBits, code);
        plainBits.FlushBitWriter();

        OutputStream mixed;
        test::BitWriter mixedBits(mixed);
        for (size_t i = 0; i < before; ++i) writeBits(mixedBits, codes[i]);
        {
            BitSink sink(mixed, mixedBits.Pending());
            for (size_t i = before; i < after; ++i) {
                sink.Reserve(16);
                sink.Put(codes[i].bits, codes[i].length);
            }
            mixedBits.Resume(sink.Finish());
        }
        for (size_t i = after; i < codes.size(); ++i) writeBits(mixedBits, codes[i]);
        mixedBits.FlushBitWriter();

        ASSERT_EQ(mixed.Bytes(), plain.Bytes()) << "round " << round;
    }
}

// The 1:1 copy at every width around the five-pixel steps of the shuffle,
// with the source rectangle partly outside the picture (black there).
TEST(FastPaths, OneToOneCopySwapsRedAndBlueAtEveryWidth) {
    std::mt19937 random(3);
    for (int width = 1; width <= 40; ++width) {
        const int height = 3;
        MemoryPicture picture(width, height, RandomPicture(width, height, random));
        const int left = int(random() % 5) - 2;
        ASSERT_TRUE(picture.CreateCanvas(48, 8));
        std::memset(picture.Canvas().bits, 0x5A, size_t(picture.Canvas().stride) * 8);
        picture.Draw(left, 0, width, height, 8 - height, width, height);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = picture.Canvas().Row(8 - height + y);
            for (int x = 0; x < 48; ++x)
                for (int c = 0; c < 3; ++c) {
                    const int sx = left + x;
                    const int expected = x >= width              ? 0x5A
                                         : sx < 0 || sx >= width ? 0
                                                                 : picture.Rgb()[(size_t(y) * width + sx) * 3 + 2 - c];
                    ASSERT_EQ(row[3 * x + c], expected) << "width " << width << ", x " << x << ", left " << left;
                }
        }
        picture.ReleaseCanvas();
    }
}

// The area-averaging stretch computed the straightforward way: every source
// row summed horizontally, then every destination pixel summed vertically.
std::vector<uint8_t> ReferenceStretch(const MemoryPicture& picture, int left, int top, int sourceWidth,
                                      int sourceHeight, int width, int height) {
    auto spans = [](int n, int m) {
        std::vector<std::pair<int64_t, std::vector<double>>> result(m);
        const double step = double(n) / m;
        for (int d = 0; d < m; ++d) {
            const double lo = d * step, hi = (d + 1) * step;
            result[d].first = int64_t(std::floor(lo));
            for (int64_t s = result[d].first; s < hi; ++s)
                result[d].second.push_back((std::min<double>(hi, s + 1) - std::max<double>(lo, s)) / step);
        }
        return result;
    };
    auto pixel = [&](int64_t x, int64_t y, int c) -> int {
        if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return 0;
        return picture.Rgb()[(size_t(y) * picture.Width() + size_t(x)) * 3 + c];
    };
    const auto columns = spans(sourceWidth, width), rows = spans(sourceHeight, height);
    std::vector<double> horizontal(size_t(width) * sourceHeight * 3);
    for (int sy = 0; sy < sourceHeight; ++sy)
        for (int dx = 0; dx < width; ++dx)
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (size_t k = 0; k < columns[dx].second.size(); ++k)
                    sum += columns[dx].second[k] * pixel(left + columns[dx].first + int64_t(k), top + sy, c);
                horizontal[(size_t(sy) * width + dx) * 3 + c] = sum;
            }
    std::vector<uint8_t> bgr(size_t(width) * height * 3);
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx)
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (size_t k = 0; k < rows[dy].second.size(); ++k) {
                    const int64_t sy = std::min<int64_t>(rows[dy].first + int64_t(k), sourceHeight - 1);
                    sum += rows[dy].second[k] * horizontal[(size_t(sy) * width + dx) * 3 + c];
                }
                bgr[(size_t(dy) * width + dx) * 3 + 2 - c] = uint8_t(std::lround(std::clamp(sum, 0.0, 255.0)));
            }
    return bgr;
}

TEST(FastPaths, StretchKeepingFewRowsEqualsTheStraightforwardStretch) {
    std::mt19937 random(5);
    for (int round = 0; round < 80; ++round) {
        const int pictureWidth = 1 + random() % 60, pictureHeight = 1 + random() % 60;
        MemoryPicture picture(pictureWidth, pictureHeight, RandomPicture(pictureWidth, pictureHeight, random));
        const int left = int(random() % 7) - 3, top = int(random() % 7) - 3;
        const int width = 1 + random() % 40, height = 1 + random() % 40;
        // Every other round halves both ways, which has a path of its own.
        const bool halving = round % 2 == 1;
        const int sourceWidth = halving ? 2 * width : 1 + random() % 60;
        const int sourceHeight = halving ? 2 * height : 1 + random() % 60;
        ASSERT_TRUE(picture.CreateCanvas(64, 48));
        picture.Draw(left, top, sourceWidth, sourceHeight, 48 - height, width, height);
        const CanvasView canvas = picture.Canvas();
        std::vector<uint8_t> drawn;
        for (int y = 48 - height; y < 48; ++y) drawn.insert(drawn.end(), canvas.Row(y), canvas.Row(y) + 3 * width);
        EXPECT_EQ(drawn, ReferenceStretch(picture, left, top, sourceWidth, sourceHeight, width, height))
            << sourceWidth << " x " << sourceHeight << " onto " << width << " x " << height;
        picture.ReleaseCanvas();
    }
}

}  // namespace
}  // namespace vardolin
