#include "encoder/OutputStream.h"

#include "encoder/NumberedError.h"

namespace vardolin {

void OutputStream::PutByteChecked(int32_t value) {
    if (value < 0 || value > 255) throw ComponentError::Overflow();
    Put(static_cast<uint8_t>(value));
}

void OutputStream::Put16(int32_t value) {
    if (value < 0 || value > 65535) throw ComponentError::Overflow();
    Put(static_cast<uint8_t>(value >> 8));
    Put(static_cast<uint8_t>(value & 0xFF));
}

void OutputStream::Patch16(int32_t at, int32_t value) {
    if (value < 0 || value > 65535) throw ComponentError::Overflow();
    if (at < 0 || at + 1 >= Position()) throw ComponentError::OutOfRange();
    OutputBuffer[at] = static_cast<uint8_t>(value >> 8);
    OutputBuffer[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

}  // namespace vardolin
