// The entropy coder's bit writer: bits gather in a 64-bit buffer and leave it
// four bytes at a time, straight into the output buffer, most significant bit
// first, each byte 0xFF followed by a stuffed 0x00. It can start on a partly
// filled byte and hand one back when it ends, so that another writer can go
// on where it stopped.
#pragma once

#include <cstddef>
#include <cstdint>

#include "encoder/OutputStream.h"

namespace vardolin {

// The bits of a byte not complete yet: the top `count` bits of `bits`.
struct PendingBits {
    uint8_t bits = 0;
    int count = 0;  // 0..7
};

class BitSink {
public:
    explicit BitSink(OutputStream& out, PendingBits pending = {});
    BitSink(const BitSink&) = delete;
    BitSink& operator=(const BitSink&) = delete;

    // Makes room for at least `bytes` more output bytes.
    void Reserve(size_t bytes) {
        if (static_cast<size_t>(limit_ - next_) < bytes) Grow(bytes);
    }

    // Appends the low `count` bits of bits (count <= 32, no higher bits set),
    // most significant first. The caller has reserved room.
    void Put(uint32_t bits, int count) {
        buffer_ = (buffer_ << count) | bits;
        count_ += count;
        if (count_ >= 32) EmitWord();
    }

    // Completes a partly filled byte with 1-bits.
    void Fill();

    // Stores what is complete and hands back the bits of a partly filled byte.
    PendingBits Finish();

private:
    void EmitWord() {
        count_ -= 32;
        const uint32_t word = static_cast<uint32_t>(buffer_ >> count_);
        // Any byte 0xFF needs a stuffed 0x00 after it.
        if (((~word - 0x01010101u) & word & 0x80808080u) != 0) {
            EmitBytesStuffed(word, 4);
            return;
        }
        next_[0] = static_cast<uint8_t>(word >> 24);
        next_[1] = static_cast<uint8_t>(word >> 16);
        next_[2] = static_cast<uint8_t>(word >> 8);
        next_[3] = static_cast<uint8_t>(word);
        next_ += 4;
    }
    // The top `count` bytes of the low 4 bytes of word, each 0xFF followed by 0x00.
    void EmitBytesStuffed(uint32_t word, int count);
    void Grow(size_t bytes);

    OutputStream& out_;
    uint8_t* next_ = nullptr;
    uint8_t* limit_ = nullptr;
    uint64_t buffer_ = 0;  // pending bits are the low count_ bits
    int count_ = 0;
};

}  // namespace vardolin
