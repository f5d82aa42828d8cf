#include "encoder/BitSink.h"

#include <algorithm>

namespace vardolin {

BitSink::BitSink(OutputStream& out, PendingBits pending) : out_(out) {
    count_ = pending.count;
    buffer_ = static_cast<uint32_t>(pending.bits) >> (8 - count_);
    std::vector<uint8_t>& buffer = out.Bytes();
    next_ = limit_ = buffer.data() + buffer.size();
}

void BitSink::Grow(size_t bytes) {
    std::vector<uint8_t>& buffer = out_.Bytes();
    const size_t written = static_cast<size_t>(next_ - buffer.data());
    // Up to the reserved capacity first; beyond it the vector grows geometrically.
    buffer.resize(std::max({buffer.size(), written + bytes, buffer.capacity()}));
    next_ = buffer.data() + written;
    limit_ = buffer.data() + buffer.size();
}

void BitSink::EmitBytesStuffed(uint32_t word, int count) {
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
        const uint8_t byte = static_cast<uint8_t>(word >> shift);
        *next_++ = byte;
        if (byte == 0xFF) *next_++ = 0x00;
    }
}

void BitSink::Fill() {
    const int partial = count_ % 8;
    if (partial != 0) Put((1u << (8 - partial)) - 1, 8 - partial);
}

PendingBits BitSink::Finish() {
    Reserve(16);
    const int whole = count_ / 8;
    if (whole > 0) {
        count_ -= 8 * whole;
        EmitBytesStuffed(static_cast<uint32_t>(buffer_ >> count_), whole);
    }
    std::vector<uint8_t>& buffer = out_.Bytes();
    buffer.resize(static_cast<size_t>(next_ - buffer.data()));
    next_ = limit_ = buffer.data() + buffer.size();
    return {static_cast<uint8_t>((buffer_ << (8 - count_)) & 0xFF), count_};
}

}  // namespace vardolin
