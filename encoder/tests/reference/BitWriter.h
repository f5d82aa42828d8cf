// The plain bit writer: one bit at a time into an OutputStream, most
// significant first, a completed byte 0xFF followed by a stuffed 0x00, the
// last byte filled with 1-bits. The reference for BitSink.
#pragma once

#include <cstdint>

#include "encoder/BitSink.h"
#include "encoder/OutputStream.h"

namespace vardolin::test {

class BitWriter {
public:
    explicit BitWriter(OutputStream& out) : out_(out) {}

    void ResetBitWriter() { BitAccumulator = 0, BitMask = 128; }
    // Appends the bits of value from bit topMask down to bit 0.
    void WriteBits(int32_t topMask, int32_t value);
    // Completes a partly filled byte with 1-bits.
    void FlushBitWriter();

    // The partly filled byte, to hand over to a BitSink and take back from it.
    PendingBits Pending() const;
    void Resume(PendingBits pending);

private:
    void StoreCompletedByte();

    OutputStream& out_;
    int32_t BitAccumulator = 0;
    int32_t BitMask = 128;  // the next bit's place in BitAccumulator
};

}  // namespace vardolin::test
