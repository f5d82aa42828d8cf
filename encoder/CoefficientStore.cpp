#include "encoder/CoefficientStore.h"

#include <algorithm>

#include "encoder/NonzeroMask.h"
#include "encoder/SizeCategory.h"

namespace vardolin {

namespace {

constexpr size_t kPlainBlockBytes = 63 * sizeof(int16_t);

}  // namespace

void CoefficientStore::Start(int32_t blocksPerRow, int32_t expectedRows) {
    Clear();
    blocksPerRow_ = blocksPerRow;
    dc_.reserve(size_t(blocksPerRow) * size_t(std::max(expectedRows, 0)));
    rows_.reserve(size_t(std::max(expectedRows, 0)));
}

bool CoefficientStore::Tokenize(const int16_t* block, uint8_t*& symbol, uint8_t*& bits) {
    bool fits = true;
    const int32_t last = ForEachNonzeroAC(block, [&](int32_t k, int32_t run) {
        for (; run > 15; run -= 16) *symbol++ = 0xF0;
        const int32_t value = block[k];
        const int32_t size = Category(value);
        fits = fits && size <= 10;
        *symbol++ = static_cast<uint8_t>(run * 16 + (size & 15));
        const uint32_t magnitude = static_cast<uint32_t>(value >= 0 ? value : value - 1) & ((1u << size) - 1);
        *bits++ = static_cast<uint8_t>(magnitude);
        if (size > 8) *bits++ = static_cast<uint8_t>(magnitude >> 8);
    });
    *symbol++ = last != 63 ? 0x00 : kBlockEnd;
    return fits;
}

void CoefficientStore::AppendBlockRow(const int16_t* values) {
    // At most 63 values, 3 sixteen-zero runs and the end per block; at most
    // two bytes of bits per value.
    symbols_.resize(size_t(blocksPerRow_) * 67);
    bits_.resize(size_t(blocksPerRow_) * 126);
    uint8_t* symbol = symbols_.data();
    uint8_t* bits = bits_.data();
    bool tokens = true;
    for (int32_t b = 0; b < blocksPerRow_; ++b) {
        const int16_t* block = values + 64 * size_t(b);
        dc_.push_back(block[0]);
        tokens = Tokenize(block, symbol, bits) && tokens;
    }
    const size_t symbolBytes = size_t(symbol - symbols_.data()), bitBytes = size_t(bits - bits_.data());
    const size_t plainBytes = size_t(blocksPerRow_) * kPlainBlockBytes;
    Row& row = rows_.emplace_back();
    if (tokens && symbolBytes + bitBytes <= plainBytes) {
        row.symbolBytes = symbolBytes;
        row.bytes.resize(symbolBytes + bitBytes);
        std::memcpy(row.bytes.data(), symbols_.data(), symbolBytes);
        std::memcpy(row.bytes.data() + symbolBytes, bits_.data(), bitBytes);
    } else {
        row.plain = true;
        row.bytes.resize(plainBytes);
        for (int32_t b = 0; b < blocksPerRow_; ++b)
            std::memcpy(&row.bytes[size_t(b) * kPlainBlockBytes], values + 64 * size_t(b) + 1, kPlainBlockBytes);
    }
    if (rows_.size() == rows_.capacity()) {
        // The last expected row: the scratch is not needed any more.
        std::vector<uint8_t>().swap(symbols_);
        std::vector<uint8_t>().swap(bits_);
    }
}

std::vector<int16_t> CoefficientStore::Plain() const {
    std::vector<int16_t> values(size());
    Reader reader(*this);
    for (int32_t b = 0; b < Blocks(); ++b) reader.Expand(b, &values[size_t(b) * 64]);
    return values;
}

size_t CoefficientStore::StoredBytes() const {
    size_t bytes = dc_.capacity() * sizeof(int16_t) + rows_.capacity() * sizeof(Row);
    for (const Row& row : rows_) bytes += row.bytes.capacity();
    return bytes;
}

void CoefficientStore::CountACSymbols(std::array<int32_t, 257>& counts) const {
    // Four tallies of token bytes, so that neighbouring equal bytes do not
    // wait on each other, and one of the symbols of plain rows.
    std::array<std::array<int64_t, 256>, 4> tallies{};
    std::array<int64_t, 256> plain{};
    Reader reader(*this);
    int16_t block[64];
    for (int32_t r = 0; r < BlockRows(); ++r) {
        const Row& row = rows_[r];
        if (row.plain) {
            for (int32_t b = 0; b < blocksPerRow_; ++b) {
                reader.Expand(r * blocksPerRow_ + b, block);
                const int32_t last = ForEachNonzeroAC(block, [&](int32_t k, int32_t run) {
                    plain[0xF0] += run / 16;
                    const int32_t symbol = (run % 16) * 16 + Category(block[k]);
                    if (symbol > 255) throw ComponentError::OutOfRange();
                    ++plain[symbol];
                });
                if (last != 63) ++plain[0x00];
            }
            continue;
        }
        const uint8_t* symbol = row.bytes.data();
        const size_t n = row.symbolBytes;
        size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            ++tallies[0][symbol[i]];
            ++tallies[1][symbol[i + 1]];
            ++tallies[2][symbol[i + 2]];
            ++tallies[3][symbol[i + 3]];
        }
        for (; i < n; ++i) ++tallies[0][symbol[i]];
    }
    for (int s = 0; s < 256; ++s) {
        const int64_t tokens = s == kBlockEnd ? 0 : tallies[0][s] + tallies[1][s] + tallies[2][s] + tallies[3][s];
        counts[s] = checked::Add(int64_t(counts[s]), tokens + plain[s]);
    }
}

CoefficientStore::Reader::Cursor& CoefficientStore::Reader::SeekRow(int32_t block) {
    if (block < 0 || block >= store_.Blocks()) throw ComponentError::OutOfRange();
    const int32_t row = block / store_.blocksPerRow_;
    const int32_t inRow = block % store_.blocksPerRow_;
    Cursor& cursor = cursors_[size_t(row) % cursors_.size()];
    const Row& stored = store_.rows_[row];
    if (cursor.row != row || cursor.next > inRow || stored.plain) {
        cursor.row = row;
        cursor.first = row * store_.blocksPerRow_;
        cursor.next = 0;
        cursor.symbol = stored.bytes.data();
        cursor.bits = stored.bytes.data() + stored.symbolBytes;
    }
    if (stored.plain) {
        cursor.next = inRow;
        return cursor;
    }
    while (cursor.next < inRow) ReadTokens(cursor, [](uint8_t, uint32_t) {});
    return cursor;
}

void CoefficientStore::Reader::Expand(int32_t block, int16_t* values) {
    Cursor& cursor = Seek(block);
    values[0] = store_.dc_[block];
    const Row& stored = store_.rows_[cursor.row];
    if (stored.plain) {
        std::memcpy(values + 1, &stored.bytes[size_t(cursor.next) * kPlainBlockBytes], kPlainBlockBytes);
        return;
    }
    std::fill(values + 1, values + 64, int16_t{0});
    int32_t k = 0;
    ReadTokens(cursor, [&](uint8_t symbol, uint32_t bits) {
        if (symbol == 0x00) return;
        if (symbol == 0xF0) {
            k += 16;
            return;
        }
        const int32_t size = symbol & 15;
        k += (symbol >> 4) + 1;
        const int32_t magnitude = static_cast<int32_t>(bits);
        values[k] = static_cast<int16_t>(magnitude >= (1 << (size - 1)) ? magnitude : magnitude - (1 << size) + 1);
    });
}

}  // namespace vardolin
