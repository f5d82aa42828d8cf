// Huffman coding of the quantized blocks into scans: SOS segment, then the
// entropy-coded data of one or more components.
#include <array>

#include "ClsJPEG.h"
#include "ScanLayout.h"

namespace vardolin {

namespace {

void WriteSymbol(OutputStream& out, const HuffmanTable& table, int32_t symbol) {
    if (symbol < 0 || symbol > 255) throw JpegError::OutOfRange();
    out.WriteBits(table.CodeMask[symbol], table.Code[symbol]);
}

// The low `category` bits of v, or of v - 1 for a negative v.
void WriteMagnitude(OutputStream& out, int32_t v, int32_t category) {
    if (category == 0) return;
    out.WriteBits(1 << (category - 1), v >= 0 ? v : v - 1);
}

void EncodeBlock(OutputStream& out, const int16_t* block, int32_t& predictor,
                 const HuffmanTable& dcTable, const HuffmanTable& acTable) {
    int32_t diff = block[0] - predictor;
    predictor = block[0];
    int32_t s = Category(diff);
    WriteSymbol(out, dcTable, s);
    WriteMagnitude(out, diff, s);

    int32_t run = 0;
    for (int k = 1; k < 64; ++k) {
        int32_t c = block[k];
        if (c == 0) {
            ++run;
            continue;
        }
        for (; run > 15; run -= 16) WriteSymbol(out, acTable, 0xF0);
        int32_t category = Category(c);
        WriteSymbol(out, acTable, run * 16 + category);
        WriteMagnitude(out, c, category);
        run = 0;
    }
    if (run > 0) WriteSymbol(out, acTable, 0x00);
}

}  // namespace

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

    out.ResetBitWriter();
    int32_t predictor = 0;
    const HuffmanTable& dc = DCHuffmanTables[dcTable];
    const HuffmanTable& ac = ACHuffmanTables[acTable];
    for (size_t position = 0; position < c.Coefficients.size(); position += 64)
        EncodeBlock(out, &c.Coefficients[position], predictor, dc, ac);
    out.FlushBitWriter();
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

    out.ResetBitWriter();
    WalkInterleaved(cursors, ImageWidth, ImageHeight, MaxHSampling, MaxVSampling,
                    [&](size_t j, int32_t position) {
                        const int32_t p = first + static_cast<int32_t>(j);
                        const HuffmanTable& dc = DCHuffmanTables[lists.DCSelectors[p]];
                        const HuffmanTable& ac = ACHuffmanTables[lists.ACSelectors[p]];
                        const int16_t* block;
                        if (position < 0) {
                            fillerBlock[0] = static_cast<int16_t>(predictors[j]);
                            block = fillerBlock.data();
                        } else {
                            block = &cursors[j].component->Coefficients[position];
                        }
                        EncodeBlock(out, block, predictors[j], dc, ac);
                    });
    out.FlushBitWriter();
}

}  // namespace vardolin
