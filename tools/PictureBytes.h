// The bytes of a picture file, wherever they come from: a regular file read
// at offsets (rows are read when needed, never the whole file), or a buffer
// in memory (a pipe read whole, or bytes handed over by a caller), whose rows
// are used in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vardolin::tools {

// Anything a picture cannot be read for, as one line for the user.
class ImageFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& why);

class PictureBytes {
public:
    virtual ~PictureBytes() = default;

    virtual uint64_t Size() const = 0;
    // Copies exactly `bytes` bytes from offset, or raises ImageFileError.
    virtual void Read(uint64_t offset, uint8_t* into, size_t bytes) = 0;
    // The bytes at offset where they lie, when they are in memory.
    virtual const uint8_t* InPlace(uint64_t offset, size_t bytes) const = 0;
    // How the input is called in messages.
    const std::string& Name() const { return name_; }

protected:
    explicit PictureBytes(std::string name) : name_(std::move(name)) {}

private:
    std::string name_;
};

// Bytes in memory; `owned` keeps them alive, otherwise the caller does.
class MemoryBytes final : public PictureBytes {
public:
    MemoryBytes(std::span<const uint8_t> bytes, std::string name);
    MemoryBytes(std::vector<uint8_t> owned, std::string name);

    uint64_t Size() const override { return bytes_.size(); }
    void Read(uint64_t offset, uint8_t* into, size_t bytes) override;
    const uint8_t* InPlace(uint64_t offset, size_t bytes) const override;

private:
    std::vector<uint8_t> owned_;
    std::span<const uint8_t> bytes_;
};

// Opens a file for reading; "-" is standard input. A regular file is read
// at offsets; anything else (a pipe, a terminal) is read whole into memory.
std::unique_ptr<PictureBytes> OpenPictureBytes(const std::filesystem::path& path);

// Reads forwards through the bytes, a block at a time, for headers and for
// formats that are decoded whole.
class ByteCursor {
public:
    explicit ByteCursor(PictureBytes& bytes, uint64_t start = 0);

    // The next byte without taking it, or -1 at the end.
    int Peek() {
        if (at_ == end_ && !Refill()) return -1;
        return *at_;
    }
    int Next() {
        const int byte = Peek();
        if (byte >= 0) ++at_;
        return byte;
    }
    uint64_t Position() const { return blockStart_ + uint64_t(at_ - block_); }
    uint64_t Remaining() const { return bytes_.Size() - Position(); }
    // Copies up to `count` bytes; returns how many there were.
    size_t Take(uint8_t* into, size_t count);

private:
    bool Refill();

    PictureBytes& bytes_;
    std::vector<uint8_t> buffer_;
    const uint8_t* block_ = nullptr;
    const uint8_t* at_ = nullptr;
    const uint8_t* end_ = nullptr;
    uint64_t blockStart_ = 0;
};

}  // namespace vardolin::tools
