#include "capture/camera/PixelConversion.h"

#include <algorithm>
#include <cstdlib>

namespace vardolin::capture {
namespace {

uint8_t Clamp(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// Studio-range BT.601, as webcams deliver YUV, in 8.8 fixed point.
void YuvToBgr(int y, int u, int v, uint8_t* bgr) {
    int c = 298 * (y - 16) + 128, d = u - 128, e = v - 128;
    bgr[0] = Clamp((c + 516 * d) >> 8);
    bgr[1] = Clamp((c - 100 * d - 208 * e) >> 8);
    bgr[2] = Clamp((c + 409 * e) >> 8);
}

size_t PackedStride(int width, int bitsPerPixel) { return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4; }

// Start of each of the count spans that divide [first, first + length) as
// evenly as whole pixels allow; every span holds at least one pixel.
std::vector<int> Spans(int first, int length, int count) {
    std::vector<int> start(count + 1);
    for (int i = 0; i <= count; ++i) start[i] = first + static_cast<int>(static_cast<int64_t>(i) * length / count);
    for (int i = 0; i < count; ++i) start[i] = std::min(start[i], first + length - 1);
    return start;
}

}  // namespace

std::optional<SampleLayout> LayoutOf(PixelFormat format, const BITMAPINFOHEADER& header, const RECT& source) {
    int width = header.biWidth, height = std::abs(header.biHeight);
    bool yuv = format == PixelFormat::Yuy2 || format == PixelFormat::Nv12;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return std::nullopt;
    if (yuv && (width % 2 || (format == PixelFormat::Nv12 && height % 2))) return std::nullopt;
    SampleLayout layout{format, width, height, !yuv && header.biHeight > 0};
    if (IsRectEmpty(&source)) return layout;
    if (source.left < 0 || source.top < 0 || source.right > width || source.bottom > height) return std::nullopt;
    layout.visible = source;
    return layout;
}

RECT VisibleArea(const SampleLayout& layout) {
    return IsRectEmpty(&layout.visible) ? RECT{0, 0, layout.width, layout.height} : layout.visible;
}

size_t SampleBytes(const SampleLayout& layout) {
    int bits = CameraFormatOf(layout.format).bitsPerPixel;
    // NV12's planes are unpadded: a full-size luma plane, then a half-height chroma plane.
    if (layout.format == PixelFormat::Nv12) return static_cast<size_t>(layout.width) * layout.height * bits / 8;
    return PackedStride(layout.width, bits) * layout.height;
}

PictureSize FourByThreeCrop(int width, int height) {
    int cropWidth = width, cropHeight = height;
    if (int64_t{cropWidth} * 3 > int64_t{cropHeight} * 4) cropWidth = static_cast<int>(int64_t{cropHeight} * 4 / 3);
    else cropHeight = static_cast<int>(int64_t{cropWidth} * 3 / 4);
    return {std::max(cropWidth, 1), std::max(cropHeight, 1)};
}

void PixelConverter::Prepare(const SampleLayout& layout, PictureSize out, RECT area) {
    if (layout.format == prepared_.format && layout.width == prepared_.width && layout.height == prepared_.height &&
        out.width == preparedOut_.width && out.height == preparedOut_.height && EqualRect(&area, &preparedArea_))
        return;
    columnStart_ = Spans(area.left, area.right - area.left, out.width);
    rowStart_ = Spans(area.top, area.bottom - area.top, out.height);
    row_.assign(static_cast<size_t>(layout.width) * 3, 0);
    sums_.assign(static_cast<size_t>(out.width) * 3, 0);
    prepared_ = layout;
    preparedOut_ = out;
    preparedArea_ = area;
}

void PixelConverter::ConvertRow(const SampleLayout& layout, const uint8_t* sample, int y) {
    // Only the columns the area takes; YUY2 from the first pixel of a pair.
    int first = preparedArea_.left & ~1, last = preparedArea_.right;
    uint8_t* out = row_.data() + 3 * first;
    switch (layout.format) {
    case PixelFormat::Rgb24:
    case PixelFormat::Rgb32: {
        int bits = CameraFormatOf(layout.format).bitsPerPixel, bytes = bits / 8;
        size_t stride = PackedStride(layout.width, bits);
        const uint8_t* in = sample + stride * (layout.bottomUp ? layout.height - 1 - y : y) + bytes * first;
        for (int x = first; x < last; ++x, in += bytes, out += 3) std::copy(in, in + 3, out);
        break;
    }
    case PixelFormat::Rgb565:
    case PixelFormat::Rgb555: {
        // Little-endian 16-bit pixels, blue in the low bits; 5-bit and 6-bit
        // channels widened by repeating their high bits.
        bool green6 = layout.format == PixelFormat::Rgb565;
        size_t stride = PackedStride(layout.width, 16);
        const uint8_t* in = sample + stride * (layout.bottomUp ? layout.height - 1 - y : y) + 2 * first;
        for (int x = first; x < last; ++x, in += 2, out += 3) {
            unsigned v = in[0] | (in[1] << 8), b = v & 31, g = green6 ? (v >> 5) & 63 : (v >> 5) & 31,
                     r = green6 ? v >> 11 : (v >> 10) & 31;
            out[0] = static_cast<uint8_t>(b << 3 | b >> 2);
            out[1] = static_cast<uint8_t>(green6 ? (g << 2 | g >> 4) : (g << 3 | g >> 2));
            out[2] = static_cast<uint8_t>(r << 3 | r >> 2);
        }
        break;
    }
    case PixelFormat::Yuy2: {
        const uint8_t* in =
            sample + PackedStride(layout.width, CameraFormatOf(layout.format).bitsPerPixel) * y + 2 * first;
        for (int x = first; x < last; x += 2, in += 4, out += 6) {
            YuvToBgr(in[0], in[1], in[3], out);
            YuvToBgr(in[2], in[1], in[3], out + 3);
        }
        break;
    }
    case PixelFormat::Nv12: {
        size_t width = layout.width;
        const uint8_t* luma = sample + width * y;
        const uint8_t* chroma = sample + width * layout.height + width * (y / 2);
        for (size_t x = first; x < static_cast<size_t>(last); ++x, out += 3)
            YuvToBgr(luma[x], chroma[x & ~size_t{1}], chroma[x | 1u], out);
        break;
    }
    }
}

bool PixelConverter::Convert(const SampleLayout& layout, const uint8_t* sample, size_t size, BitmapPixels& picture,
                             PictureSize out, const RECT* area) {
    if (!sample || size < SampleBytes(layout) || out.width <= 0 || out.height <= 0) return false;
    RECT visible = VisibleArea(layout);
    PictureSize crop = FourByThreeCrop(visible.right - visible.left, visible.bottom - visible.top);
    RECT middle{visible.left + (visible.right - visible.left - crop.width) / 2,
                visible.top + (visible.bottom - visible.top - crop.height) / 2, 0, 0};
    middle.right = middle.left + crop.width;
    middle.bottom = middle.top + crop.height;
    if (area && (area->left < 0 || area->top < 0 || area->right > layout.width || area->bottom > layout.height ||
                 area->right <= area->left || area->bottom <= area->top))
        return false;
    Prepare(layout, out, area ? *area : middle);
    if (picture.width != out.width || picture.height != out.height) picture.Resize(out.width, out.height);
    for (int j = 0; j < out.height; ++j) {
        std::fill(sums_.begin(), sums_.end(), 0);
        int rows = std::max(1, rowStart_[j + 1] - rowStart_[j]);
        for (int y = rowStart_[j]; y < rowStart_[j] + rows; ++y) {
            ConvertRow(layout, sample, y);
            for (int i = 0; i < out.width; ++i) {
                int columns = std::max(1, columnStart_[i + 1] - columnStart_[i]);
                const uint8_t* p = row_.data() + 3 * columnStart_[i];
                uint32_t* sum = sums_.data() + 3 * i;
                for (int c = 0; c < columns; ++c, p += 3) sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
            }
        }
        uint8_t* line = picture.Row(j);
        for (int i = 0; i < out.width; ++i) {
            uint32_t count = static_cast<uint32_t>(rows * std::max(1, columnStart_[i + 1] - columnStart_[i]));
            for (int c = 0; c < 3; ++c) line[3 * i + c] = static_cast<uint8_t>((sums_[3 * i + c] + count / 2) / count);
        }
    }
    return true;
}

}  // namespace vardolin::capture
