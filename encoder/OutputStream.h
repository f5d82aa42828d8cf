// The output buffer a JPEG file is assembled in: bytes, big-endian 16-bit
// values, markers, and segment lengths patched in afterwards. The
// entropy-coded data goes in through a BitSink.
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
    void Put16(int32_t value);           // big-endian; error 6 outside 0..65535
    void PutByteChecked(int32_t value);  // error 6 outside 0..255
    void PutMarker(uint8_t code) {
        Put(0xFF);
        Put(code);
    }
    // Overwrites two bytes already stored (segment lengths).
    void Patch16(int32_t at, int32_t value);

    std::vector<uint8_t>& Bytes() { return OutputBuffer; }

private:
    std::vector<uint8_t> OutputBuffer;
};

}  // namespace vardolin
