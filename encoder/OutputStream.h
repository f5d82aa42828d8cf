// The output buffer a JPEG file is assembled in, with the bit writer of the
// entropy-coded data (most significant bit first, 0xFF followed by a stuffed
// 0x00, the last byte of a scan filled with 1-bits).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vardolin {

class OutputStream {
public:
    // Reserves room for the expected size; the buffer still grows when the
    // expectation was too small.
    explicit OutputStream(size_t expectedSize = 0) { OutputBuffer.reserve(expectedSize); }

    int32_t Position() const { return static_cast<int32_t>(OutputBuffer.size()); }

    void Put(uint8_t byte) { OutputBuffer.push_back(byte); }
    void Put16(int32_t value);            // big-endian; error 6 outside 0..65535
    void PutByteChecked(int32_t value);   // error 6 outside 0..255
    void PutMarker(uint8_t code) { Put(0xFF); Put(code); }
    // Overwrites two bytes already stored (segment lengths).
    void Patch16(int32_t at, int32_t value);

    void ResetBitWriter() { BitAccumulator = 0; BitMask = 128; }
    // Appends the bits of value from bit topMask down to bit 0.
    void WriteBits(int32_t topMask, int32_t value);
    // Completes a partly filled byte with 1-bits.
    void FlushBitWriter();

    std::vector<uint8_t>& Bytes() { return OutputBuffer; }

private:
    friend class BitSink;  // the entropy coder's word-sized writer
    void StoreCompletedByte();

    std::vector<uint8_t> OutputBuffer;
    int32_t BitAccumulator = 0;
    int32_t BitMask = 128;
};

}  // namespace vardolin
