#include "encoder/HuffmanOptimizer.h"

#include <array>
#include <vector>

#include "encoder/HuffmanTable.h"
#include "encoder/SizeCategory.h"

namespace vardolin {

namespace {

using Tally = std::array<int64_t, 257>;

// The counting sink: per table the symbols the coder will write for the
// blocks the walk visits, and the filler blocks of each list position. A
// block's AC symbols do not depend on the order of the walk: they are
// tallied for each component in one pass over its store, once the walk has
// visited every block of it.
class SymbolCounter {
public:
    explicit SymbolCounter(const ScanLists& lists)
        : lists_(lists), fillers_(lists.ScanComponents.size(), 0), blocks_(lists.ScanComponents.size(), 0) {}

    void Block(int32_t p, int32_t dcDifference, CoefficientStore::Reader&, int32_t) {
        ++dc_[lists_.DCSelectors[p]][Category(dcDifference)];
        ++blocks_[p];
    }
    void Filler(int32_t p) {
        ++dc_[lists_.DCSelectors[p]][0];
        ++fillers_[p];
    }

    // The AC symbols of the blocks of the component at list position p.
    void CountACSymbols(const CoefficientStore& coefficients, int32_t p, std::array<SymbolCounts, 4>& ac) const {
        if (blocks_[p] != coefficients.Blocks()) throw ComponentError::OutOfRange();
        coefficients.CountACSymbols(ac[lists_.ACSelectors[p]]);
    }

    SymbolCounts DC(int32_t table) const { return Narrow(dc_[table]); }
    int32_t Fillers(int32_t p) const { return checked::Add(fillers_[p], 0); }

private:
    static SymbolCounts Narrow(const Tally& tally) {
        SymbolCounts counts{};
        for (size_t s = 0; s < tally.size(); ++s) counts[s] = checked::Add(tally[s], 0);
        return counts;
    }

    const ScanLists& lists_;
    std::array<Tally, 4> dc_{};
    std::vector<int64_t> fillers_, blocks_;
};

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

// Builds one table from its counts and adds the bits its symbols take.
void BuildTable(HuffmanTable& table, SymbolCounts counts, int32_t largestSymbol, BitTotal& total) {
    const SymbolCounts counted = counts;
    BuildOptimalHuffmanTable(table, counts);
    ExpandHuffmanTable(table, largestSymbol);
    for (int s = 0; s <= largestSymbol; ++s)
        if (counted[s] != 0) total.Add(counted[s], CodeLength(table, s) + s % 16);
}

}  // namespace

int32_t OptimizeHuffmanTables(EncoderState& state, const ScanLists& lists, int32_t first, int32_t last) {
    ValidateScanLists(state.Components, lists, first, last);
    const std::vector<ScanGroup> scans = GroupScans(state.Components, lists, first, last);
    std::array<bool, 4> dcUsed{}, acUsed{};
    for (int32_t p = first; p <= last; ++p) {
        dcUsed[lists.DCSelectors[p]] = true;
        acUsed[lists.ACSelectors[p]] = true;
        if (state.Components[lists.ScanComponents[p]].Coefficients.empty()) throw ComponentError::OutOfRange();
    }

    SymbolCounter counter(lists);
    for (const ScanGroup& scan : scans) WalkScan(state, lists, scan, counter);
    std::array<SymbolCounts, 4> ac{};
    for (int32_t p = first; p <= last; ++p)
        counter.CountACSymbols(state.Components[lists.ScanComponents[p]].Coefficients, p, ac);

    BitTotal total;
    for (int32_t k = 0; k < 4; ++k) {
        if (dcUsed[k]) BuildTable(state.DCHuffmanTables[k], counter.DC(k), 11, total);
        if (!acUsed[k]) continue;
        SymbolCounts& counts = ac[k];
        // Filler blocks are coded as DC 0 and EOB. Only when no real block
        // needs EOB are their EOBs counted, so that EOB gets a code.
        for (int32_t p = first; p <= last && counts[0x00] == 0; ++p)
            if (lists.ACSelectors[p] == k) counts[0x00] = counter.Fillers(p);
        BuildTable(state.ACHuffmanTables[k], counts, 255, total);
    }
    return total.Bytes();
}

}  // namespace vardolin
