// What the fuzz targets share: reading settings from the fuzzer's bytes,
// checking messages, and stopping on a finding so that libFuzzer keeps the
// input.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vardolin::fuzz {

// Takes values from the front of the input; past its end every byte is 0.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
    // The bytes not taken yet.
    const uint8_t* Rest(size_t& size) const {
        size = size_ - std::min(at_, size_);
        return data_ + std::min(at_, size_);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A message for the user: one line of text, no control characters in it.
inline bool OneLine(std::string_view message) {
    return !message.empty() && std::none_of(message.begin(), message.end(),
                                            [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

[[noreturn]] inline void Finding(const char* what, const char* detail = "") {
    std::fprintf(stderr, "FINDING: %s %s\n", what, detail);
    std::abort();
}

}  // namespace vardolin::fuzz
