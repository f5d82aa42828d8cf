#include "tools/PixelFormats.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "encoder/PixelCopy.h"

namespace vardolin::tools {

uint64_t PixelFormat::PixelBits() const {
    switch (kind) {
    case PixelKind::Samples: return uint64_t(channels) * bytesPerSample * 8;
    case PixelKind::Bgr:
    case PixelKind::BitFields: return uint64_t(bytesPerPixel) * 8;
    case PixelKind::Palette: return uint64_t(bitsPerPixel);
    }
    return 0;
}

std::vector<uint8_t> ScaleTable(int bits, uint32_t maxValue) {
    std::vector<uint8_t> table(size_t{1} << bits);
    for (uint64_t v = 0; v < table.size(); ++v)
        table[v] = uint8_t(std::min<uint64_t>(255, (v * 255 + maxValue / 2) / maxValue));
    return table;
}

PixelConverter::PixelConverter(PixelFormat format) : format_(std::move(format)) {
    if (format_.kind == PixelKind::Samples && (format_.bytesPerSample == 2 || format_.maxValue != 255))
        scale_ = ScaleTable(8 * format_.bytesPerSample, uint32_t(format_.maxValue));
    if (format_.kind == PixelKind::BitFields) {
        for (int c = 0; c < 3; ++c) {
            const uint32_t mask = format_.masks[c];
            Field& field = fields_[c];
            field.shift = std::countr_zero(mask);
            const int width = std::popcount(mask);
            field.drop = std::max(0, width - 16);
            field.scale = ScaleTable(width - field.drop, (mask >> field.shift) >> field.drop);
        }
    }
    if (format_.kind == PixelKind::Palette) format_.palette.resize(256);  // indices past the table are black
}

void PixelConverter::Convert(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const {
    switch (format_.kind) {
    case PixelKind::Samples: ConvertSamples(row, left, count, bgr); break;
    case PixelKind::Bgr:
        row += size_t(left) * format_.bytesPerPixel;
        if (format_.bytesPerPixel == 3) {
            std::memcpy(bgr, row, size_t(count) * 3);
        } else {
            for (int32_t x = 0; x < count; ++x, row += 4, bgr += 3) bgr[0] = row[0], bgr[1] = row[1], bgr[2] = row[2];
        }
        break;
    case PixelKind::BitFields: ConvertBitFields(row, left, count, bgr); break;
    case PixelKind::Palette: ConvertPalette(row, left, count, bgr); break;
    }
}

void PixelConverter::ConvertSamples(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const {
    const int channels = format_.channels, width = format_.bytesPerSample;
    const size_t stride = size_t(channels) * width;
    row += size_t(left) * stride;
    const bool colour = channels >= 3;
    if (width == 1 && scale_.empty() && channels == 3) {
        CopySwappingRedAndBlue(row, bgr, size_t(count));
        return;
    }
    auto sample = [&](const uint8_t* at) -> uint8_t {
        const unsigned value = width == 1 ? at[0] : unsigned(at[0]) << 8 | at[1];
        return scale_.empty() ? uint8_t(value) : scale_[value];
    };
    for (int32_t x = 0; x < count; ++x, row += stride, bgr += 3) {
        if (colour) {
            bgr[2] = sample(row), bgr[1] = sample(row + width), bgr[0] = sample(row + 2 * width);
        } else {
            bgr[0] = bgr[1] = bgr[2] = sample(row);
        }
    }
}

void PixelConverter::ConvertBitFields(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const {
    const int bytes = format_.bytesPerPixel;
    row += size_t(left) * bytes;
    for (int32_t x = 0; x < count; ++x, row += bytes, bgr += 3) {
        uint32_t word = uint32_t(row[0]) | uint32_t(row[1]) << 8;
        if (bytes == 4) word |= uint32_t(row[2]) << 16 | uint32_t(row[3]) << 24;
        for (int c = 0; c < 3; ++c) {
            const Field& field = fields_[c];
            const uint32_t value = (word & format_.masks[c]) >> field.shift >> field.drop;
            bgr[2 - c] = field.scale[value];
        }
    }
}

void PixelConverter::ConvertPalette(const uint8_t* row, int32_t left, int32_t count, uint8_t* bgr) const {
    const int bits = format_.bitsPerPixel;
    const unsigned mask = (1u << bits) - 1;
    uint64_t bit = uint64_t(left) * bits;
    for (int32_t x = 0; x < count; ++x, bit += bits, bgr += 3) {
        // The leftmost pixel is in the most significant bits of its byte.
        const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & mask;
        std::memcpy(bgr, format_.palette[index].data(), 3);
    }
}

}  // namespace vardolin::tools
