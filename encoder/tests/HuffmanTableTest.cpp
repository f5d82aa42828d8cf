// Optimal table construction and the validation of tables.
#include <gtest/gtest.h>

#include "encoder/HuffmanTable.h"
#include "encoder/NumberedError.h"

namespace vardolin {
namespace {

std::vector<int> BitsOf(const HuffmanTable& t) { return {t.Bits.begin(), t.Bits.end()}; }

std::vector<int> Bits(std::initializer_list<int> leading) {
    std::vector<int> bits(leading);
    bits.resize(16, 0);
    return bits;
}

TEST(HuffmanTable, SingleSymbolGetsOneBitCodeZero) {
    SymbolCounts counts{};
    counts[0] = 40;
    HuffmanTable table;
    BuildOptimalHuffmanTable(table, counts);
    ExpandHuffmanTable(table, 11);
    EXPECT_EQ(BitsOf(table), Bits({1}));
    EXPECT_EQ(table.HuffVal[0], 0);
    EXPECT_EQ(table.CodeMask[0], 1);
    EXPECT_EQ(table.Code[0], 0);
    EXPECT_EQ(table.Code[1], -1);
    for (int32_t c : counts) EXPECT_EQ(c, 0);  // ready for the next table
}

TEST(HuffmanTable, EqualCountsFavourTheLowerSymbol) {
    SymbolCounts counts{};
    counts[3] = 5;
    counts[5] = 5;
    HuffmanTable table;
    BuildOptimalHuffmanTable(table, counts);
    ExpandHuffmanTable(table, 255);
    EXPECT_EQ(BitsOf(table), Bits({1, 1}));
    EXPECT_EQ(table.Code[3], 0);
    EXPECT_EQ(table.CodeMask[3], 1);
    EXPECT_EQ(table.Code[5], 2);  // 10; 11 stays unused
    EXPECT_EQ(table.CodeMask[5], 2);
}

TEST(HuffmanTable, TwelveEqualDcCategories) {
    SymbolCounts counts{};
    for (int s = 0; s < 12; ++s) counts[s] = 1;
    HuffmanTable table;
    BuildOptimalHuffmanTable(table, counts);
    ExpandHuffmanTable(table, 11);
    EXPECT_EQ(BitsOf(table), Bits({0, 0, 3, 9}));
    EXPECT_EQ(table.Code[0], 0b000);
    EXPECT_EQ(table.Code[2], 0b010);
    EXPECT_EQ(table.Code[3], 0b0110);
    EXPECT_EQ(table.Code[11], 0b1110);
}

TEST(HuffmanTable, LengthsAreLimitedToSixteenBits) {
    SymbolCounts counts{};
    int64_t f = 1, g = 1;  // Fibonacci counts give the deepest possible tree
    for (int s = 0; s < 40; ++s) {
        counts[s] = static_cast<int32_t>(f);
        int64_t next = f + g;
        g = f;
        f = std::min<int64_t>(next, 1 << 29);
    }
    HuffmanTable table;
    BuildOptimalHuffmanTable(table, counts);
    ExpandHuffmanTable(table, 255);
    int total = 0;
    for (int b : table.Bits) total += b;
    EXPECT_EQ(total, 40);
    for (int s = 0; s < 40; ++s) EXPECT_NE(table.CodeMask[s], 0);
}

TEST(HuffmanTable, InconsistentTablesAreRefused) {
    auto expectBad = [](HuffmanTable table, int largest) {
        try {
            ExpandHuffmanTable(table, largest);
            ADD_FAILURE() << "accepted";
        } catch (const ComponentError& e) {
            EXPECT_EQ(e.number(), 1);
            EXPECT_STREQ(e.description(), "错误霍夫曼码表");
        }
    };
    HuffmanTable allOnes;  // four codes of length 2: the last would be 11
    allOnes.Bits[1] = 4;
    for (int i = 0; i < 4; ++i) allOnes.HuffVal[i] = uint8_t(i);
    expectBad(allOnes, 255);

    HuffmanTable dcTwelve;
    dcTwelve.Bits[1] = 1;
    dcTwelve.HuffVal[0] = 12;
    expectBad(dcTwelve, 11);

    HuffmanTable twice;
    twice.Bits[1] = 2;
    twice.HuffVal[0] = twice.HuffVal[1] = 7;
    expectBad(twice, 255);

    expectBad(HuffmanTable{}, 255);  // no code at all
}

}  // namespace
}  // namespace vardolin
