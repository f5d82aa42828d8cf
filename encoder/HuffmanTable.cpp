// Optimal code lengths from symbol counts (limited to 16 bits, one code point
// reserved so that no code consists of ones only) and canonical code
// assignment with validation.
#include "encoder/HuffmanTable.h"

#include <algorithm>
#include <climits>

#include "encoder/NumberedError.h"

namespace vardolin {

namespace {

constexpr int kSymbols = 257;

// The two symbols to merge next: least count first, and among equal counts
// the highest symbol number first.
bool FindTwoSmallest(const SymbolCounts& counts, int& v1, int& v2) {
    int64_t c1 = INT64_MAX, c2 = INT64_MAX;
    v1 = v2 = -1;
    for (int j = 0; j < kSymbols; ++j) {
        int64_t f = counts[j];
        if (f == 0 || f > c2) continue;
        if (f <= c1) {
            v2 = v1, c2 = c1;
            v1 = j, c1 = f;
        } else {
            v2 = j, c2 = f;
        }
    }
    return v2 >= 0;
}

// Lengthens the code of every symbol on the chain that starts at symbol and
// leaves symbol at the chain's end.
void LengthenChain(std::array<int32_t, kSymbols>& codesize, const std::array<int32_t, kSymbols>& others, int& symbol) {
    ++codesize[symbol];
    while (others[symbol] >= 0) {
        symbol = others[symbol];
        ++codesize[symbol];
    }
}

[[noreturn]] void BadTable() { throw ComponentError(error_number::kInvalidValue, messages::kBadHuffmanTable); }

}  // namespace

void BuildOptimalHuffmanTable(HuffmanTable& table, SymbolCounts& frequencies) {
    std::array<int32_t, kSymbols> codesize{};
    std::array<int32_t, kSymbols> others;
    others.fill(-1);
    frequencies[256] = 1;

    int v1 = 0, v2 = 0;
    while (FindTwoSmallest(frequencies, v1, v2)) {
        frequencies[v1] = checked::Add(frequencies[v1], frequencies[v2]);
        frequencies[v2] = 0;
        LengthenChain(codesize, others, v1);
        others[v1] = v2;
        LengthenChain(codesize, others, v2);
    }
    if (v1 >= 0) frequencies[v1] = 0;

    std::array<int32_t, kSymbols> perLength{};
    int32_t maxLength = 0;
    for (int s = 0; s < kSymbols; ++s) {
        if (codesize[s] == 0) continue;
        ++perLength[codesize[s]];
        maxLength = std::max(maxLength, codesize[s]);
    }

    int32_t i = maxLength;
    while (i > 16) {
        if (perLength[i] > 0) {
            int32_t j = i - 2;
            while (j >= 1 && perLength[j] == 0) --j;
            perLength[i] -= 2;
            perLength[i - 1] += 1;
            perLength[j + 1] += 2;
            perLength[j] -= 1;
        } else {
            --i;
        }
    }
    perLength[i] -= 1;  // the reserved code point

    for (int k = 1; k <= 16; ++k) {
        if (perLength[k] < 0 || perLength[k] > 255) throw ComponentError::Overflow();
        table.Bits[k - 1] = static_cast<uint8_t>(perLength[k]);
    }
    int count = 0;
    for (int32_t length = 1; length <= maxLength; ++length)
        for (int s = 0; s < 256; ++s)
            if (codesize[s] == length) table.HuffVal[count++] = static_cast<uint8_t>(s);
}

void ExpandHuffmanTable(HuffmanTable& table, int32_t largestSymbol) {
    table.CodeMask.fill(0);
    table.Code.fill(-1);
    int32_t count = 0, code = 0, mask = 1;
    for (int length = 1; length <= 16; ++length) {
        int32_t newCount = count + table.Bits[length - 1];
        if (newCount > 256) BadTable();
        for (; count < newCount; ++count) {
            int s = table.HuffVal[count];
            if (s > largestSymbol || table.Code[s] >= 0) BadTable();
            table.CodeMask[s] = mask;
            table.Code[s] = code++;
        }
        mask *= 2;
        if (code >= mask) BadTable();
        code *= 2;
    }
    if (count == 0) BadTable();
}

}  // namespace vardolin
