// The plain coder: every block expanded to its 64 values, every code and
// magnitude through BitWriter::WriteBits, one bit at a time. The reference
// for the encoder's emitting sink, driven by the same scan walk.
#include "encoder/tests/reference/BitWriter.h"
#include "encoder/tests/reference/PlainPath.h"
#include "encoder/SizeCategory.h"

namespace vardolin::test {

namespace {

class PlainCoder {
public:
    PlainCoder(OutputStream& out, const EncoderState& state, const ScanLists& lists)
        : bits_(out), state_(state), lists_(lists) {}

    void Block(int32_t p, int32_t dcDifference, CoefficientStore::Reader& reader, int32_t block) {
        int16_t values[64];
        reader.Expand(block, values);
        WriteDC(p, dcDifference);
        const HuffmanTable& ac = state_.ACHuffmanTables[lists_.ACSelectors[p]];
        int32_t run = 0;
        for (int k = 1; k < 64; ++k) {
            int32_t c = values[k];
            if (c == 0) {
                ++run;
                continue;
            }
            for (; run > 15; run -= 16) WriteSymbol(ac, 0xF0);
            int32_t category = Category(c);
            WriteSymbol(ac, run * 16 + category);
            WriteMagnitude(c, category);
            run = 0;
        }
        if (run > 0) WriteSymbol(ac, 0x00);
    }

    void Filler(int32_t p) {
        WriteDC(p, 0);
        WriteSymbol(state_.ACHuffmanTables[lists_.ACSelectors[p]], 0x00);
    }

    void Finish() { bits_.FlushBitWriter(); }

private:
    void WriteDC(int32_t p, int32_t difference) {
        int32_t s = Category(difference);
        WriteSymbol(state_.DCHuffmanTables[lists_.DCSelectors[p]], s);
        WriteMagnitude(difference, s);
    }

    void WriteSymbol(const HuffmanTable& table, int32_t symbol) {
        if (symbol < 0 || symbol > 255) throw ComponentError::OutOfRange();
        bits_.WriteBits(table.CodeMask[symbol], table.Code[symbol]);
    }

    // The low `category` bits of v, or of v - 1 for a negative v.
    void WriteMagnitude(int32_t v, int32_t category) {
        if (category == 0) return;
        bits_.WriteBits(1 << (category - 1), v >= 0 ? v : v - 1);
    }

    BitWriter bits_;
    const EncoderState& state_;
    const ScanLists& lists_;
};

}  // namespace

void WritePlainScanData(OutputStream& out, const EncoderState& state, const ScanLists& lists, const ScanGroup& scan) {
    PlainCoder coder(out, state, lists);
    WalkScan(state, lists, scan, coder);
    coder.Finish();
}

}  // namespace vardolin::test
