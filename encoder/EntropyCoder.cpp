// Huffman coding of the quantized blocks into scans: SOS segment, then the
// entropy-coded data of one or more components.
#include <array>
#include <memory>

#include "BitSink.h"
#include "ClsJPEG.h"
#include "NonzeroMask.h"
#include "ScanLayout.h"

namespace vardolin {

namespace {

// The straightforward coder: every code and magnitude through WriteBits, one
// bit at a time.
class PlainCoder {
public:
    PlainCoder(OutputStream& out, const std::array<HuffmanTable, 4>& dc, const std::array<HuffmanTable, 4>& ac)
        : out_(out), dc_(dc), ac_(ac) {}

    void Encode(const int16_t* block, int32_t& predictor, int32_t dcTable, int32_t acTable) {
        int32_t diff = block[0] - predictor;
        predictor = block[0];
        int32_t s = Category(diff);
        WriteSymbol(dc_[dcTable], s);
        WriteMagnitude(diff, s);

        int32_t run = 0;
        for (int k = 1; k < 64; ++k) {
            int32_t c = block[k];
            if (c == 0) {
                ++run;
                continue;
            }
            for (; run > 15; run -= 16) WriteSymbol(ac_[acTable], 0xF0);
            int32_t category = Category(c);
            WriteSymbol(ac_[acTable], run * 16 + category);
            WriteMagnitude(c, category);
            run = 0;
        }
        if (run > 0) WriteSymbol(ac_[acTable], 0x00);
    }

    // A stored block, expanded to its 64 values.
    void EncodeStored(CoefficientStore::Reader& reader, int32_t block, int32_t& predictor, int32_t dcTable,
                      int32_t acTable) {
        int16_t values[64];
        reader.Expand(block, values);
        Encode(values, predictor, dcTable, acTable);
    }

    void Finish() { out_.FlushBitWriter(); }

private:
    void WriteSymbol(const HuffmanTable& table, int32_t symbol) {
        if (symbol < 0 || symbol > 255) throw JpegError::OutOfRange();
        out_.WriteBits(table.CodeMask[symbol], table.Code[symbol]);
    }

    // The low `category` bits of v, or of v - 1 for a negative v.
    void WriteMagnitude(int32_t v, int32_t category) {
        if (category == 0) return;
        out_.WriteBits(1 << (category - 1), v >= 0 ? v : v - 1);
    }

    OutputStream& out_;
    const std::array<HuffmanTable, 4>& dc_;
    const std::array<HuffmanTable, 4>& ac_;
};

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

// The coder of the vectorised paths: jumps between nonzero values and writes
// through the word-sized BitSink. Writes what PlainCoder writes.
class FastCoder {
public:
    FastCoder(OutputStream& out, const std::array<HuffmanTable, 4>& dc, const std::array<HuffmanTable, 4>& ac)
        : sink_(out), dc_(dc), ac_(ac) {}

    void Encode(const int16_t* block, int32_t& predictor, int32_t dcTable, int32_t acTable) {
        // Each value adds at most 32 bits, each stuffed byte one byte more.
        sink_.Reserve(64 * 4 * 2 + 16);
        PutDC(block[0], predictor, dcTable);
        PutAC(block, Codes(acCodes_, ac_, acTable));
    }

    // A stored block: its AC tokens as they were stored, or, for a row kept
    // plain, its values.
    void EncodeStored(CoefficientStore::Reader& reader, int32_t block, int32_t& predictor, int32_t dcTable,
                      int32_t acTable) {
        sink_.Reserve(64 * 4 * 2 + 16);
        PutDC(reader.DC(block), predictor, dcTable);
        const CodeTable& ac = Codes(acCodes_, ac_, acTable);
        const bool tokens = reader.ForEachToken(block, [&](uint8_t symbol, uint32_t bits) {
            const int32_t size = symbol & 15;
            sink_.Put((ac.code[symbol] << size) | bits, ac.length[symbol] + size);
        });
        if (tokens) return;
        int16_t values[64];
        reader.Expand(block, values);
        PutAC(values, ac);
    }

    void Finish() {
        sink_.Fill();
        sink_.Finish();
    }

private:
    const CodeTable& Codes(std::array<std::unique_ptr<CodeTable>, 4>& cache,
                           const std::array<HuffmanTable, 4>& tables, int32_t index) {
        std::unique_ptr<CodeTable>& codes = cache[index];
        if (!codes) codes = std::make_unique<CodeTable>(MakeCodeTable(tables[index]));
        return *codes;
    }

    void PutDC(int32_t value, int32_t& predictor, int32_t dcTable) {
        const int32_t diff = value - predictor;
        predictor = value;
        const int32_t s = Category(diff);
        PutSymbol(Codes(dcCodes_, dc_, dcTable), s, diff, s);
    }

    // The AC values of a block, jumping between nonzero values.
    void PutAC(const int16_t* block, const CodeTable& ac) {
        const int32_t last = ForEachNonzeroAC(block, [&](int32_t k, int32_t run) {
            for (; run > 15; run -= 16) PutCode(ac, 0xF0);
            const int32_t value = block[k];
            const int32_t category = Category(value);
            const int32_t symbol = run * 16 + category;
            if (symbol > 255) throw JpegError::OutOfRange();
            PutSymbol(ac, symbol, value, category);
        });
        if (last != 63) PutCode(ac, 0x00);
    }

    // The symbol's code, then the low `category` bits of value (of value - 1
    // for a negative value).
    void PutSymbol(const CodeTable& table, int32_t symbol, int32_t value, int32_t category) {
        const uint32_t magnitude = static_cast<uint32_t>(value >= 0 ? value : value - 1) &
                                   ((uint32_t{1} << category) - 1);
        sink_.Put((table.code[symbol] << category) | magnitude, table.length[symbol] + category);
    }
    void PutCode(const CodeTable& table, int32_t symbol) { sink_.Put(table.code[symbol], table.length[symbol]); }

    BitSink sink_;
    const std::array<HuffmanTable, 4>& dc_;
    const std::array<HuffmanTable, 4>& ac_;
    std::array<std::unique_ptr<CodeTable>, 4> dcCodes_, acCodes_;
};

}  // namespace

template <class Body>
void ClsJPEG::CodeScanData(OutputStream& out, Body&& body) const {
    out.ResetBitWriter();
    if (ActivePath == EncoderPath::Plain) {
        PlainCoder coder(out, DCHuffmanTables, ACHuffmanTables);
        body(coder);
        coder.Finish();
    } else {
        FastCoder coder(out, DCHuffmanTables, ACHuffmanTables);
        body(coder);
        coder.Finish();
    }
}

void ClsJPEG::WriteScans(OutputStream& out, const ScanLists& lists, int32_t first,
                         int32_t last) const {
    ValidateScanLists(Components, lists, first, last);
    for (const ScanGroup& group : GroupScans(Components, lists, first, last)) {
        if (group.Interleaved())
            WriteInterleavedScan(out, lists, group.first, group.last);
        else
            WriteSingleScan(out, lists.ScanComponents[group.first], lists.DCSelectors[group.first],
                            lists.ACSelectors[group.first]);
    }
}

void ClsJPEG::WriteSingleScan(OutputStream& out, int32_t component, int32_t dcTable,
                              int32_t acTable) const {
    const Component& c = Components[component];
    out.PutMarker(0xDA);
    out.Put16(8);
    out.Put(0x01);
    out.PutByteChecked(c.Id);
    out.PutByteChecked(dcTable * 16 + acTable);
    out.Put(0x00);
    out.Put(0x3F);
    out.Put(0x00);

    CodeScanData(out, [&](auto& coder) {
        CoefficientStore::Reader reader(c.Coefficients);
        int32_t predictor = 0;
        for (int32_t block = 0; block < c.Coefficients.Blocks(); ++block)
            coder.EncodeStored(reader, block, predictor, dcTable, acTable);
    });
}

void ClsJPEG::WriteInterleavedScan(OutputStream& out, const ScanLists& lists, int32_t first,
                                   int32_t last) const {
    const int32_t count = last - first + 1;
    out.PutMarker(0xDA);
    out.Put16(2 * count + 6);
    out.PutByteChecked(count);
    for (int32_t j = first; j <= last; ++j) {
        out.PutByteChecked(Components[lists.ScanComponents[j]].Id);
        out.PutByteChecked(lists.DCSelectors[j] * 16 + lists.ACSelectors[j]);
    }
    out.Put(0x00);
    out.Put(0x3F);
    out.Put(0x00);

    std::vector<InterleavedCursor> cursors;
    std::vector<int32_t> predictors(count, 0);
    for (int32_t j = first; j <= last; ++j)
        cursors.push_back(
            MakeInterleavedCursor(Components[lists.ScanComponents[j]], ImageWidth, MaxHSampling));
    std::array<int16_t, 64> fillerBlock{};
    std::vector<CoefficientStore::Reader> readers;
    for (const InterleavedCursor& cursor : cursors) readers.emplace_back(cursor.component->Coefficients);

    CodeScanData(out, [&](auto& coder) {
        WalkInterleaved(cursors, ImageWidth, ImageHeight, MaxHSampling, MaxVSampling,
                        [&](size_t j, int32_t position) {
                            const int32_t p = first + static_cast<int32_t>(j);
                            if (position >= 0) {
                                coder.EncodeStored(readers[j], position / 64, predictors[j], lists.DCSelectors[p],
                                                   lists.ACSelectors[p]);
                                return;
                            }
                            fillerBlock[0] = static_cast<int16_t>(predictors[j]);
                            coder.Encode(fillerBlock.data(), predictors[j], lists.DCSelectors[p],
                                         lists.ACSelectors[p]);
                        });
    });
}

}  // namespace vardolin
