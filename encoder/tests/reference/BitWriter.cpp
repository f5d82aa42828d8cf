#include "encoder/tests/reference/BitWriter.h"

namespace vardolin::test {

void BitWriter::StoreCompletedByte() {
    out_.Put(static_cast<uint8_t>(BitAccumulator));
    if (BitAccumulator == 0xFF) out_.Put(0x00);
    BitAccumulator = 0;
    BitMask = 128;
}

void BitWriter::WriteBits(int32_t topMask, int32_t value) {
    for (; topMask > 0; topMask /= 2) {
        if (value & topMask) BitAccumulator |= BitMask;
        if (BitMask == 1) StoreCompletedByte();
        else BitMask /= 2;
    }
}

void BitWriter::FlushBitWriter() {
    if (BitMask != 128) WriteBits(BitMask, -1);
}

PendingBits BitWriter::Pending() const {
    int count = 0;  // BitMask 128 means no pending bit, 64 one (in bit 7), ... 1 seven
    for (int32_t mask = 128; mask > BitMask; mask /= 2) ++count;
    return {static_cast<uint8_t>(BitAccumulator), count};
}

void BitWriter::Resume(PendingBits pending) {
    BitAccumulator = pending.bits;
    BitMask = 128 >> pending.count;
}

}  // namespace vardolin::test
