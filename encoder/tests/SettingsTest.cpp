// Construction defaults, quality scaling and the sampling-factor rules.
#include <gtest/gtest.h>

#include "encoder/ClsJPEG.h"
#include "encoder/Quantization.h"

namespace vardolin {
namespace {

std::vector<int> Qk(const ClsJPEG& encoder, int table, size_t count = 64) {
    const auto& qk = encoder.QuantTable(table).Qk;
    return std::vector<int>(qk.begin(), qk.begin() + count);
}

void ExpectError(int32_t number, const char* description, const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const ComponentError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_STREQ(e.description(), description);
    }
}

TEST(Settings, ConstructionDefaults) {
    ClsJPEG encoder;
    EXPECT_EQ(encoder.Quality(), 75);
    EXPECT_TRUE(encoder.Comment().empty());
    ASSERT_EQ(encoder.ComponentList().size(), 3u);
    EXPECT_EQ(encoder.ComponentList()[0].H, 2);
    EXPECT_EQ(encoder.ComponentList()[0].V, 2);
    EXPECT_EQ(encoder.ComponentList()[2].QuantTableIndex, 1);
    EXPECT_EQ(encoder.MaxH(), 2);
    EXPECT_EQ(encoder.MaxV(), 2);
    EXPECT_EQ(ZigZag[0][1], 1);
    EXPECT_EQ(ZigZag[1][0], 2);
    EXPECT_EQ(ZigZag[2][0], 3);
    EXPECT_EQ(ZigZag[0][2], 5);
    EXPECT_EQ(ZigZag[7][6], 62);
    EXPECT_EQ(ZigZag[7][7], 63);
}

TEST(Settings, QualityScalesTablesWithHalvesToEven) {
    ClsJPEG encoder;  // 75
    EXPECT_EQ(Qk(encoder, 0, 16), (std::vector<int>{8, 6, 6, 8, 6, 6, 8, 8, 7, 8, 10, 9, 8, 10, 12, 20}));
    std::vector<int> chroma = {9, 10, 10, 12, 11, 12, 24, 14, 14, 24, 50, 34, 28, 34};
    chroma.resize(64, 50);
    EXPECT_EQ(Qk(encoder, 1), chroma);

    encoder.SetQuality(50);  // odd base values b + 0.5 round up to the even b + 1
    EXPECT_EQ(Qk(encoder, 0, 4), (std::vector<int>{16, 12, 12, 14}));
    EXPECT_EQ(Qk(encoder, 1, 2), (std::vector<int>{18, 18}));

    encoder.SetQuality(100);
    EXPECT_EQ(Qk(encoder, 0), std::vector<int>(64, 1));
    encoder.SetQuality(1);
    EXPECT_EQ(Qk(encoder, 1), std::vector<int>(64, 255));
    encoder.SetQuality(16);                      // scale 5000 / 16 = 312.5 becomes 312
    EXPECT_EQ(encoder.QuantTable(0).Qk[0], 50);  // (16 * 312 + 50) / 100 = 50.42
    EXPECT_EQ(encoder.QuantTable(0).Qk[1], 35);  // 34.82
}

TEST(Settings, QualityOutsideOneToHundredIsIgnored) {
    ClsJPEG encoder;
    encoder.SetQuality(40);
    auto before = Qk(encoder, 0);
    encoder.SetQuality(0);
    encoder.SetQuality(101);
    encoder.SetQuality(-5);
    EXPECT_EQ(encoder.Quality(), 40);
    EXPECT_EQ(Qk(encoder, 0), before);
}

TEST(Settings, ScaleFoldsDctScalingAndQuantizer) {
    ClsJPEG encoder;
    const auto& table = encoder.QuantTable(0);
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) {
            int z = ZigZag[v][u];
            EXPECT_EQ(table.Scale[z], float(AanScale[u] * AanScale[v] / table.Qk[z]));
        }
}

TEST(Settings, SamplingFactors) {
    ClsJPEG encoder;
    encoder.SetSamplingFrequencies(2, 2, 0, 0, 0, 0);
    ASSERT_EQ(encoder.ComponentList().size(), 1u);
    EXPECT_EQ(encoder.ComponentList()[0].H, 1);
    EXPECT_EQ(encoder.MaxH(), 1);
    EXPECT_EQ(encoder.MaxV(), 1);

    encoder.SetSamplingFrequencies(4, 4, 1, 1, 1, 1);  // accepted; Y goes into a scan alone
    EXPECT_EQ(encoder.MaxH(), 4);

    encoder.SetSamplingFrequencies(4, 2, 2, 1, 1, 1);
    for (auto factors : std::vector<std::array<int, 6>>{
             {5, 1, 1, 1, 1, 1}, {1, 0, 1, 1, 1, 1}, {1, 1, 0, 0, 0, 1}, {1, 1, 1, 1, 1, -1}}) {
        ExpectError(error_number::kInvalidValue, "无效采样值", [&] {
            encoder.SetSamplingFrequencies(factors[0], factors[1], factors[2], factors[3], factors[4], factors[5]);
        });
    }
    // A refused call leaves the previous components as they were.
    EXPECT_EQ(encoder.ComponentList()[0].H, 4);
    EXPECT_EQ(encoder.ComponentList()[1].H, 2);
}

TEST(Settings, CommentLengthLimit) {
    ClsJPEG encoder;
    encoder.SetComment(u"first");
    encoder.SetComment(std::u16string(65535, u'x'));
    EXPECT_EQ(encoder.Comment().size(), 65535u);
    ExpectError(error_number::kInvalidValue, "无效注释长度", [&] { encoder.SetComment(std::u16string(65536, u'x')); });
    EXPECT_EQ(encoder.Comment().size(), 65535u);
}

}  // namespace
}  // namespace vardolin
