// The bit writer: order of bits, fill bits and byte stuffing.
#include <gtest/gtest.h>

#include "encoder/tests/reference/BitWriter.h"

namespace vardolin {
namespace {

std::vector<uint8_t> Written(const std::function<void(test::BitWriter&)>& write) {
    OutputStream stream;
    test::BitWriter out(stream);
    out.ResetBitWriter();
    write(out);
    return stream.Bytes();
}

TEST(BitWriter, CodesThenFillBits) {
    auto bytes = Written([](test::BitWriter& out) {
        out.WriteBits(4, 0b110);
        out.WriteBits(2, 0b01);
        out.FlushBitWriter();
    });
    EXPECT_EQ(bytes, std::vector<uint8_t>{0xCF});
}

TEST(BitWriter, NoFillByteOnAByteBoundaryAndMaskZeroWritesNothing) {
    auto bytes = Written([](test::BitWriter& out) {
        out.WriteBits(0, 0x7F);
        out.WriteBits(128, 0xA5);
        out.FlushBitWriter();
    });
    EXPECT_EQ(bytes, std::vector<uint8_t>{0xA5});
}

TEST(BitWriter, CompletedFFIsStuffedAlsoWhenFillBitsCompleteIt) {
    auto whole = Written([](test::BitWriter& out) { out.WriteBits(0x800, 0xFFF); });
    EXPECT_EQ(whole, (std::vector<uint8_t>{0xFF, 0x00}));

    auto filled = Written([](test::BitWriter& out) {
        out.WriteBits(8, 0xF);
        out.FlushBitWriter();
    });
    EXPECT_EQ(filled, (std::vector<uint8_t>{0xFF, 0x00}));
}

TEST(BitWriter, NegativeMagnitudesWriteTheirLowBits) {
    // -3 has category 2 and writes -3 - 1 = ...11100, low bits 00; -4 writes 011.
    auto bytes = Written([](test::BitWriter& out) {
        out.WriteBits(2, -3 - 1);
        out.WriteBits(4, -4 - 1);
        out.FlushBitWriter();
    });
    EXPECT_EQ(bytes, std::vector<uint8_t>{0b00011111});
}

}  // namespace
}  // namespace vardolin
