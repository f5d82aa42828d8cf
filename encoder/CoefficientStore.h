// The quantized coefficients of one component, kept compactly: per block its
// DC value, and for its AC values the tokens the entropy coder emits, a
// run/size byte each (with an end-of-block byte) and, apart, their magnitude
// bits. A block row whose tokens would take more room than its plain values
// (noise) keeps the plain values instead. Block rows are in raster order, as
// the picture is sampled.
//
// The statistics count the token bytes of a row in one pass; the coder reads
// tokens in order; anything else sees whole blocks through Expand.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "encoder/NumberedError.h"

namespace vardolin {

class CoefficientStore {
public:
    // Ends a token row's block whose value 63 is not zero (no end-of-block
    // code). Never a real symbol: a run of 1 with no value.
    static constexpr uint8_t kBlockEnd = 0x10;

    // Forgets every block and releases the memory.
    void Clear() { *this = CoefficientStore(); }
    // Starts afresh with block rows of blocksPerRow blocks.
    void Start(int32_t blocksPerRow, int32_t expectedRows);
    // Adds the next block row: BlocksPerRow() blocks of 64 values, zigzag order.
    void AppendBlockRow(const int16_t* values);

    bool empty() const { return dc_.empty(); }
    // How many coefficients the blocks hold, 64 per block.
    size_t size() const { return dc_.size() * 64; }
    int32_t Blocks() const { return static_cast<int32_t>(dc_.size()); }
    int32_t BlocksPerRow() const { return blocksPerRow_; }
    int32_t BlockRows() const { return static_cast<int32_t>(rows_.size()); }
    const std::vector<int16_t>& DCValues() const { return dc_; }

    // Every coefficient in stored order, 64 per block: the plain layout.
    std::vector<int16_t> Plain() const;
    // Bytes held for the coefficients.
    size_t StoredBytes() const;

    // Adds the AC symbols of every block to counts (index = symbol): what
    // the coder writes for them, end of block included.
    void CountACSymbols(std::array<int32_t, 257>& counts) const;

    // Reads blocks in any order that goes through each block row from left
    // to right (stored order, the order of an interleaved scan).
    class Reader {
    public:
        explicit Reader(const CoefficientStore& store) : store_(store) {}
        int16_t DC(int32_t block) const {
            if (block < 0 || block >= store_.Blocks()) throw ComponentError::OutOfRange();
            return store_.dc_[size_t(block)];
        }
        // All 64 values of a block.
        void Expand(int32_t block, int16_t* values);
        // For a block of a token row, calls emit(symbol, bits) for each of its
        // AC tokens (the end-of-block symbol 0x00 included) and returns true;
        // returns false for a block of a row kept plain.
        template <class Emit>
        bool ForEachToken(int32_t block, Emit&& emit);

    private:
        struct Cursor {
            int32_t row = -1;
            int32_t first = 0;  // the row's first block
            int32_t next = 0;   // block of the row the pointers stand at
            const uint8_t* symbol = nullptr;
            const uint8_t* bits = nullptr;
        };
        // The cursor standing at block: most often one already does, as
        // readers go through the rows in order.
        Cursor& Seek(int32_t block) {
            for (Cursor& cursor : cursors_)
                if (cursor.row >= 0 && cursor.next < store_.blocksPerRow_ && block == cursor.first + cursor.next)
                    return cursor;
            return SeekRow(block);
        }
        Cursor& SeekRow(int32_t block);
        template <class Emit>
        static void ReadTokens(Cursor& cursor, Emit&& emit);

        const CoefficientStore& store_;
        std::array<Cursor, 4> cursors_{};  // enough for the block rows of one MCU row
    };

private:
    struct Row {
        bool plain = false;
        size_t symbolBytes = 0;      // token rows: symbols first, then the magnitude bits
        std::vector<uint8_t> bytes;  // plain rows: 63 AC values per block, native 16-bit
    };

    // Writes the tokens of one block at symbol and bits, advancing both;
    // false when a value needs more than 10 bits (the row is kept plain).
    static bool Tokenize(const int16_t* block, uint8_t*& symbol, uint8_t*& bits);

    int32_t blocksPerRow_ = 0;
    std::vector<int16_t> dc_;
    std::vector<Row> rows_;
    std::vector<uint8_t> symbols_, bits_;  // scratch of the row being added
};

template <class Emit>
void CoefficientStore::Reader::ReadTokens(Cursor& cursor, Emit&& emit) {
    for (;;) {
        const uint8_t symbol = *cursor.symbol++;
        if (symbol == kBlockEnd) break;
        const int32_t size = symbol & 15;
        uint32_t bits = 0;
        if (size > 0) {
            bits = *cursor.bits++;
            if (size > 8) bits |= uint32_t(*cursor.bits++) << 8;
        }
        emit(symbol, bits);
        if (symbol == 0x00) break;
    }
    ++cursor.next;
}

template <class Emit>
bool CoefficientStore::Reader::ForEachToken(int32_t block, Emit&& emit) {
    Cursor& cursor = Seek(block);
    if (store_.rows_[cursor.row].plain) return false;
    ReadTokens(cursor, emit);
    return true;
}

}  // namespace vardolin
