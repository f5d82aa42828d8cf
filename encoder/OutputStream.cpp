#include "OutputStream.h"

#include "JpegError.h"

namespace vardolin {

void OutputStream::PutByteChecked(int32_t value) {
    if (value < 0 || value > 255) throw JpegError::Overflow();
    Put(static_cast<uint8_t>(value));
}

void OutputStream::Put16(int32_t value) {
    if (value < 0 || value > 65535) throw JpegError::Overflow();
    Put(static_cast<uint8_t>(value >> 8));
    Put(static_cast<uint8_t>(value & 0xFF));
}

void OutputStream::Patch16(int32_t at, int32_t value) {
    if (value < 0 || value > 65535) throw JpegError::Overflow();
    if (at < 0 || at + 1 >= Position()) throw JpegError::OutOfRange();
    OutputBuffer[at] = static_cast<uint8_t>(value >> 8);
    OutputBuffer[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

void OutputStream::StoreCompletedByte() {
    Put(static_cast<uint8_t>(BitAccumulator));
    if (BitAccumulator == 0xFF) Put(0x00);
    BitAccumulator = 0;
    BitMask = 128;
}

void OutputStream::WriteBits(int32_t topMask, int32_t value) {
    for (; topMask > 0; topMask /= 2) {
        if (value & topMask) BitAccumulator |= BitMask;
        if (BitMask == 1)
            StoreCompletedByte();
        else
            BitMask /= 2;
    }
}

void OutputStream::FlushBitWriter() {
    if (BitMask != 128) WriteBits(BitMask, -1);
}

}  // namespace vardolin
