#include "encoder/EntropyCoder.h"

#include <array>
#include <memory>

#include "encoder/BitSink.h"
#include "encoder/Kernels.h"
#include "encoder/MarkerSegments.h"
#include "encoder/NonzeroMask.h"
#include "encoder/SizeCategory.h"

namespace vardolin {

namespace {

// A Huffman table as code and length per symbol, so that a code and the
// magnitude bits after it go into the bit buffer together.
struct CodeTable {
    std::array<uint32_t, 256> code;
    std::array<uint8_t, 256> length;
};

CodeTable MakeCodeTable(const HuffmanTable& table) {
    CodeTable codes;
    for (int s = 0; s < 256; ++s) {
        const uint32_t mask = static_cast<uint32_t>(table.CodeMask[s]);
        const int length = mask == 0 ? 0 : __builtin_ctz(mask) + 1;
        codes.length[s] = static_cast<uint8_t>(length);
        codes.code[s] = length == 0 ? 0 : static_cast<uint32_t>(table.Code[s]) & ((1u << length) - 1);
    }
    return codes;
}

// The emitting sink: stored AC tokens go out as they were stored, a block of
// a row kept plain jumps between its nonzero values.
class ScanCoder {
public:
    ScanCoder(OutputStream& out, const EncoderState& state, const ScanLists& lists)
        : sink_(out), state_(state), lists_(lists) {}

    void Block(int32_t p, int32_t dcDifference, CoefficientStore::Reader& reader, int32_t block) {
        // Each value adds at most 32 bits, each stuffed byte one byte more.
        sink_.Reserve(64 * 4 * 2 + 16);
        PutDC(p, dcDifference);
        const CodeTable& ac = AC(p);
        const bool tokens = reader.ForEachToken(block, [&](uint8_t symbol, uint32_t bits) {
            const int32_t size = symbol & 15;
            sink_.Put((ac.code[symbol] << size) | bits, ac.length[symbol] + size);
        });
        if (tokens) return;
        int16_t values[64];
        reader.Expand(block, values);
        PutAC(values, ac);
    }

    void Filler(int32_t p) {
        sink_.Reserve(16);
        PutDC(p, 0);
        PutCode(AC(p), 0x00);
    }

    void Finish() {
        sink_.Fill();
        sink_.Finish();
    }

private:
    const CodeTable& Codes(std::array<std::unique_ptr<CodeTable>, 4>& cache, const std::array<HuffmanTable, 4>& tables,
                           int32_t index) {
        std::unique_ptr<CodeTable>& codes = cache[index];
        if (!codes) codes = std::make_unique<CodeTable>(MakeCodeTable(tables[index]));
        return *codes;
    }
    const CodeTable& AC(int32_t p) { return Codes(acCodes_, state_.ACHuffmanTables, lists_.ACSelectors[p]); }

    void PutDC(int32_t p, int32_t difference) {
        const int32_t s = Category(difference);
        PutSymbol(Codes(dcCodes_, state_.DCHuffmanTables, lists_.DCSelectors[p]), s, difference, s);
    }

    // The AC values of a block, jumping between nonzero values.
    void PutAC(const int16_t* block, const CodeTable& ac) {
        const int32_t last = ForEachNonzeroAC(block, [&](int32_t k, int32_t run) {
            for (; run > 15; run -= 16) PutCode(ac, 0xF0);
            const int32_t value = block[k];
            const int32_t category = Category(value);
            const int32_t symbol = run * 16 + category;
            if (symbol > 255) throw ComponentError::OutOfRange();
            PutSymbol(ac, symbol, value, category);
        });
        if (last != 63) PutCode(ac, 0x00);
    }

    // The symbol's code, then the low `category` bits of value (of value - 1
    // for a negative value).
    void PutSymbol(const CodeTable& table, int32_t symbol, int32_t value, int32_t category) {
        const uint32_t magnitude =
            static_cast<uint32_t>(value >= 0 ? value : value - 1) & ((uint32_t{1} << category) - 1);
        sink_.Put((table.code[symbol] << category) | magnitude, table.length[symbol] + category);
    }
    void PutCode(const CodeTable& table, int32_t symbol) { sink_.Put(table.code[symbol], table.length[symbol]); }

    BitSink sink_;
    const EncoderState& state_;
    const ScanLists& lists_;
    std::array<std::unique_ptr<CodeTable>, 4> dcCodes_, acCodes_;
};

}  // namespace

void WriteScanData(OutputStream& out, const EncoderState& state, const ScanLists& lists, const ScanGroup& scan) {
    ScanCoder coder(out, state, lists);
    WalkScan(state, lists, scan, coder);
    coder.Finish();
}

void WriteScans(OutputStream& out, const EncoderState& state, const EncoderKernels& kernels, const ScanLists& lists,
                int32_t first, int32_t last) {
    ValidateScanLists(state.Components, lists, first, last);
    for (const ScanGroup& scan : GroupScans(state.Components, lists, first, last)) {
        WriteSOS(out, state, lists, scan);
        kernels.writeScanData(out, state, lists, scan);
    }
}

}  // namespace vardolin
