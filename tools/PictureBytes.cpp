#include "tools/PictureBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/Printable.h"

namespace vardolin::tools {

void Fail(const std::string& why) { throw ImageFileError(why); }

namespace {

constexpr size_t kCursorBlock = 64 * 1024;

class Descriptor {
public:
    explicit Descriptor(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~Descriptor() {
        if (owned_ && fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
    bool owned_;
};

// A regular file, read at offsets as the rows are needed.
class FileBytes final : public PictureBytes {
public:
    FileBytes(std::unique_ptr<Descriptor> descriptor, uint64_t size, std::string name)
        : PictureBytes(std::move(name)), descriptor_(std::move(descriptor)), size_(size) {
        posix_fadvise(descriptor_->Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }

    uint64_t Size() const override { return size_; }
    const uint8_t* InPlace(uint64_t, size_t) const override { return nullptr; }

    void Read(uint64_t offset, uint8_t* into, size_t bytes) override {
        if (offset > size_ || size_ - offset < bytes) Fail("truncated " + Name());
        while (bytes > 0) {
            const ssize_t got = ::pread(descriptor_->Get(), into, bytes, off_t(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) Fail("cannot read " + Name() + ": " + std::strerror(errno));
            if (got == 0) Fail("truncated " + Name() + " (the file became shorter)");
            into += got, offset += uint64_t(got), bytes -= size_t(got);
        }
    }

private:
    std::unique_ptr<Descriptor> descriptor_;
    uint64_t size_;
};

std::vector<uint8_t> ReadWhole(int fd, const std::string& name) {
    std::vector<uint8_t> whole;
    uint8_t chunk[65536];
    for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Fail("cannot read " + name + ": " + std::strerror(errno));
        whole.insert(whole.end(), chunk, chunk + got);
    }
    return whole;
}

}  // namespace

MemoryBytes::MemoryBytes(std::span<const uint8_t> bytes, std::string name)
    : PictureBytes(std::move(name)), bytes_(bytes) {}

MemoryBytes::MemoryBytes(std::vector<uint8_t> owned, std::string name)
    : PictureBytes(std::move(name)), owned_(std::move(owned)), bytes_(owned_) {}

void MemoryBytes::Read(uint64_t offset, uint8_t* into, size_t bytes) {
    const uint8_t* from = InPlace(offset, bytes);
    if (bytes > 0) std::memcpy(into, from, bytes);  // empty bytes (a pipe that gave nothing) may have no memory
}

const uint8_t* MemoryBytes::InPlace(uint64_t offset, size_t bytes) const {
    if (offset > bytes_.size() || bytes_.size() - offset < bytes) Fail("truncated " + Name());
    return bytes_.data() + offset;
}

std::unique_ptr<PictureBytes> OpenPictureBytes(const std::filesystem::path& path) {
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "standard input" : Printable(path.string());
    auto descriptor = std::make_unique<Descriptor>(
        standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC), !standardInput);
    if (descriptor->Get() < 0) Fail("cannot open " + name + ": " + std::strerror(errno));
    struct stat status {};
    if (fstat(descriptor->Get(), &status) != 0) Fail("cannot read " + name + ": " + std::strerror(errno));
    if (S_ISDIR(status.st_mode)) Fail("cannot read " + name + ": it is a folder");
    // Standard input redirected from a file is read at offsets like any file.
    if (S_ISREG(status.st_mode) && (!standardInput || lseek(descriptor->Get(), 0, SEEK_CUR) == 0))
        return std::make_unique<FileBytes>(std::move(descriptor), uint64_t(status.st_size), name);
    // A pipe cannot be read at an offset.
    return std::make_unique<MemoryBytes>(ReadWhole(descriptor->Get(), name), name);
}

ByteCursor::ByteCursor(PictureBytes& bytes, uint64_t start) : bytes_(bytes), blockStart_(start) {}

bool ByteCursor::Refill() {
    blockStart_ = Position();
    const uint64_t left = bytes_.Size() - std::min(blockStart_, bytes_.Size());
    if (left == 0) return false;
    block_ = bytes_.InPlace(blockStart_, size_t(left));
    if (block_) {
        end_ = block_ + left;  // in memory: the whole rest at once
    } else {
        const size_t count = size_t(std::min<uint64_t>(left, kCursorBlock));
        buffer_.resize(count);
        bytes_.Read(blockStart_, buffer_.data(), count);
        block_ = buffer_.data();
        end_ = block_ + count;
    }
    at_ = block_;
    return true;
}

size_t ByteCursor::Take(uint8_t* into, size_t count) {
    size_t taken = 0;
    while (taken < count) {
        if (at_ == end_ && !Refill()) break;
        const size_t n = std::min(count - taken, size_t(end_ - at_));
        std::memcpy(into + taken, at_, n);
        at_ += n, taken += n;
    }
    return taken;
}

}  // namespace vardolin::tools
