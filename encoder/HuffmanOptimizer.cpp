// Gathers the symbol statistics the entropy coder will produce and builds the
// Huffman tables the components select, plus an estimate of the coded size.
#include <array>

#include "ClsJPEG.h"
#include "ScanLayout.h"

namespace vardolin {

namespace {

// Each block of a component in stored order, all 64 values.
template <class Visit>
void ForEachBlock(const CoefficientStore& coefficients, Visit&& visit) {
    CoefficientStore::Reader reader(coefficients);
    int16_t block[64];
    for (int32_t b = 0; b < coefficients.Blocks(); ++b) {
        reader.Expand(b, block);
        visit(block);
    }
}

void CountDCSymbols(const CoefficientStore& coefficients, SymbolCounts& frequencies) {
    int32_t predictor = 0;
    for (int16_t dc : coefficients.DCValues()) {
        ++frequencies[Category(dc - predictor)];
        predictor = dc;
    }
}

// The straightforward count: every value of every block looked at.
void CountACSymbols(const CoefficientStore& coefficients, SymbolCounts& frequencies) {
    ForEachBlock(coefficients, [&](const int16_t* block) {
        int32_t run = 0;
        for (size_t k = 1; k < 64; ++k) {
            int32_t c = block[k];
            if (c == 0) {
                ++run;
                continue;
            }
            for (; run > 15; run -= 16) ++frequencies[0xF0];
            int32_t symbol = run * 16 + Category(c);
            if (symbol > 255) throw JpegError::OutOfRange();
            ++frequencies[symbol];
            run = 0;
        }
        if (run > 0) ++frequencies[0x00];
    });
}

// Visits one component's blocks in the order of an interleaved scan.
template <class Visit>
void WalkComponentInterleaved(const ClsJPEG& encoder, const Component& component, Visit&& visit) {
    std::vector<InterleavedCursor> cursor{
        MakeInterleavedCursor(component, encoder.ImageWidthValue(), encoder.MaxH())};
    WalkInterleaved(cursor, encoder.ImageWidthValue(), encoder.ImageHeightValue(), encoder.MaxH(),
                    encoder.MaxV(), [&](size_t, int32_t position) { visit(position); });
}

// DC statistics of one component coded in an interleaved scan, in coding
// order; a filler block codes a difference of 0.
void CountDCSymbolsInterleaved(const ClsJPEG& encoder, const Component& component,
                               SymbolCounts& frequencies) {
    int32_t predictor = 0;
    WalkComponentInterleaved(encoder, component, [&](int32_t position) {
        if (position < 0) {
            ++frequencies[0];
            return;
        }
        int32_t dc = component.Coefficients.DCValues()[size_t(position) / 64];
        ++frequencies[Category(dc - predictor)];
        predictor = dc;
    });
}

int32_t CountFillerBlocks(const ClsJPEG& encoder, const Component& component) {
    int32_t fillers = 0;
    WalkComponentInterleaved(encoder, component, [&](int32_t position) { fillers += position < 0; });
    return fillers;
}

int32_t CodeLength(const HuffmanTable& table, int symbol) {
    uint32_t mask = static_cast<uint32_t>(table.CodeMask[symbol]);
    return mask == 0 ? 0 : 32 - __builtin_clz(mask);
}

// Running size of the coded data in whole bytes and leftover bits.
class BitTotal {
public:
    void Add(int64_t count, int64_t bitsEach) {
        int64_t t = remainingBits_ + count * bitsEach;
        wholeBytes_ = checked::Add(wholeBytes_, t / 8);
        remainingBits_ = static_cast<int32_t>(t % 8);
    }
    int32_t Bytes() const { return checked::Add(wholeBytes_, remainingBits_ != 0 ? 1 : 0); }

private:
    int32_t wholeBytes_ = 0;
    int32_t remainingBits_ = 0;
};

}  // namespace

int32_t ClsJPEG::OptimizeHuffmanTables(const ScanLists& lists, int32_t first, int32_t last) {
    ValidateScanLists(Components, lists, first, last);
    std::vector<bool> interleaved(std::max(last - first + 1, 0), false);
    std::array<bool, 4> dcUsed{}, acUsed{};
    for (const ScanGroup& group : GroupScans(Components, lists, first, last)) {
        for (int32_t p = group.first; p <= group.last; ++p) {
            dcUsed[lists.DCSelectors[p]] = true;
            acUsed[lists.ACSelectors[p]] = true;
            interleaved[p - first] = group.Interleaved();
        }
    }
    for (int32_t p = first; p <= last; ++p)
        if (Components[lists.ScanComponents[p]].Coefficients.empty()) throw JpegError::OutOfRange();

    std::array<SymbolCounts, 4> dcCounts{}, acCounts{};
    for (int32_t p = first; p <= last; ++p) {
        const Component& c = Components[lists.ScanComponents[p]];
        SymbolCounts& dc = dcCounts[lists.DCSelectors[p]];
        // A 1 x 1 component's interleaved order is its stored order, and it
        // has no filler blocks.
        if (interleaved[p - first] && (ActivePath == EncoderPath::Plain || c.H != 1 || c.V != 1))
            CountDCSymbolsInterleaved(*this, c, dc);
        else
            CountDCSymbols(c.Coefficients, dc);
        // The fast paths count the stored AC tokens in one pass.
        if (ActivePath == EncoderPath::Plain)
            CountACSymbols(c.Coefficients, acCounts[lists.ACSelectors[p]]);
        else
            c.Coefficients.CountACSymbols(acCounts[lists.ACSelectors[p]]);
    }

    BitTotal total;
    for (int32_t k = 0; k < 4; ++k) {
        if (dcUsed[k]) {
            const SymbolCounts counted = dcCounts[k];
            BuildOptimalHuffmanTable(DCHuffmanTables[k], dcCounts[k]);
            ExpandHuffmanTable(DCHuffmanTables[k], 11);
            for (int s = 0; s < 16; ++s)
                if (counted[s] != 0) total.Add(counted[s], CodeLength(DCHuffmanTables[k], s) + s);
        }
        if (acUsed[k]) {
            SymbolCounts& frequencies = acCounts[k];
            // Filler blocks are coded as DC 0 and EOB. Only when no real block
            // needs EOB are their EOBs counted, so that EOB gets a code.
            for (int32_t p = first; p <= last && frequencies[0x00] == 0; ++p)
                if (lists.ACSelectors[p] == k && interleaved[p - first])
                    frequencies[0x00] = CountFillerBlocks(*this, Components[lists.ScanComponents[p]]);
            const SymbolCounts counted = frequencies;
            BuildOptimalHuffmanTable(ACHuffmanTables[k], frequencies);
            ExpandHuffmanTable(ACHuffmanTables[k], 255);
            for (int s = 0; s < 256; ++s)
                if (counted[s] != 0)
                    total.Add(counted[s], CodeLength(ACHuffmanTables[k], s) + s % 16);
        }
    }
    return total.Bytes();
}

}  // namespace vardolin
