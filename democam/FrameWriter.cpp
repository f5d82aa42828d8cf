#include "democam/FrameWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vardolin::democam {
namespace {

struct Yuv {
    int y, u, v;
};

uint8_t Clamp(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// BT.601, studio range, in integers.
int LumaOf(const uint8_t* bgr) { return ((66 * bgr[2] + 129 * bgr[1] + 25 * bgr[0] + 128) >> 8) + 16; }
int BlueDifference(int b, int g, int r) { return ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128; }
int RedDifference(int b, int g, int r) { return ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128; }

// Chroma of several pixels from their summed channels.
Yuv ChromaOfSum(int b, int g, int r, int count) {
    b /= count, g /= count, r /= count;
    return {0, BlueDifference(b, g, r), RedDifference(b, g, r)};
}

void WriteRgb24(const ScenePicture& scene, uint8_t* out) {
    for (int y = 0; y < scene.height; ++y)
        std::memcpy(out + scene.stride * static_cast<size_t>(scene.height - 1 - y), scene.Row(y), scene.stride);
}

void WriteYuy2(const ScenePicture& scene, uint8_t* out) {
    for (int y = 0; y < scene.height; ++y) {
        const uint8_t* row = scene.Row(y);
        uint8_t* line = out + static_cast<size_t>(scene.width) * 2 * static_cast<size_t>(y);
        for (int x = 0; x + 1 < scene.width; x += 2) {
            const uint8_t* a = row + 3 * x;
            const uint8_t* b = a + 3;
            Yuv chroma = ChromaOfSum(a[0] + b[0], a[1] + b[1], a[2] + b[2], 2);
            uint8_t* pair = line + 2 * x;
            pair[0] = Clamp(LumaOf(a));
            pair[1] = Clamp(chroma.u);
            pair[2] = Clamp(LumaOf(b));
            pair[3] = Clamp(chroma.v);
        }
    }
}

void WriteNv12(const ScenePicture& scene, uint8_t* out) {
    const size_t width = static_cast<size_t>(scene.width);
    for (int y = 0; y < scene.height; ++y) {
        const uint8_t* row = scene.Row(y);
        for (int x = 0; x < scene.width; ++x) out[width * y + x] = Clamp(LumaOf(row + 3 * x));
    }
    uint8_t* chroma = out + width * static_cast<size_t>(scene.height);
    for (int y = 0; y + 1 < scene.height; y += 2) {
        const uint8_t* top = scene.Row(y);
        const uint8_t* bottom = scene.Row(y + 1);
        uint8_t* line = chroma + width * static_cast<size_t>(y / 2);
        for (int x = 0; x + 1 < scene.width; x += 2) {
            int sum[3];
            for (int c = 0; c < 3; ++c)
                sum[c] = top[3 * x + c] + top[3 * x + 3 + c] + bottom[3 * x + c] + bottom[3 * x + 3 + c];
            Yuv yuv = ChromaOfSum(sum[0], sum[1], sum[2], 4);
            line[x] = Clamp(yuv.u);
            line[x + 1] = Clamp(yuv.v);
        }
    }
}

}  // namespace

void AdjustPicture(ScenePicture& picture, int brightness, int contrastPercent) {
    if (brightness == kDefaultBrightness && contrastPercent == kDefaultContrast) return;
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[v] = Clamp(static_cast<int>(std::lround((v - 128) * contrastPercent / 100.0)) + 128 + brightness);
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = picture.Row(y);
        for (int i = 0; i < picture.width * 3; ++i) row[i] = table[row[i]];
    }
}

void ApplyGain(ScenePicture& picture, double gain) {
    if (gain == 1) return;
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = Clamp(static_cast<int>(std::lround(v * gain)));
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = picture.Row(y);
        for (int i = 0; i < picture.width * 3; ++i) row[i] = table[row[i]];
    }
}

void BlurPicture(ScenePicture& picture, double sigma) {
    if (!(sigma > 0) || picture.width <= 0 || picture.height <= 0) return;
    // Weights in fixed point, 1 << 16 to one, summing to one.
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<int> weights(2 * static_cast<size_t>(radius) + 1);
    double sum = 0;
    std::vector<double> exact(weights.size());
    for (int i = -radius; i <= radius; ++i) sum += exact[i + radius] = std::exp(-i * i / (2 * sigma * sigma));
    int total = 0;
    for (size_t i = 0; i < weights.size(); ++i)
        total += weights[i] = static_cast<int>(std::lround(exact[i] / sum * 65536));
    weights[radius] += 65536 - total;
    // One line of count pixels, step bytes apart: blurred in place through a copy.
    std::vector<uint8_t> line;
    auto blurLine = [&](uint8_t* first, int count, size_t step) {
        line.resize(static_cast<size_t>(count) * 3);
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < 3; ++c) line[i * 3 + c] = first[i * step + c];
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < 3; ++c) {
                int64_t v = 1 << 15;
                for (int k = -radius; k <= radius; ++k)
                    v += static_cast<int64_t>(weights[k + radius]) * line[std::clamp(i + k, 0, count - 1) * 3 + c];
                first[i * step + c] = Clamp(static_cast<int>(v >> 16));
            }
    };
    for (int y = 0; y < picture.height; ++y) blurLine(picture.Row(y), picture.width, 3);
    for (int x = 0; x < picture.width; ++x) blurLine(picture.Row(0) + x * 3, picture.height, picture.stride);
}

bool WriteFrame(const ScenePicture& scene, const VideoFormat& format, uint8_t* out, size_t capacity) {
    if (!out || capacity < format.ImageSize() || scene.width != format.width || scene.height != format.height)
        return false;
    switch (format.pixels) {
    case PixelFormat::Yuy2: WriteYuy2(scene, out); break;
    case PixelFormat::Nv12: WriteNv12(scene, out); break;
    default: WriteRgb24(scene, out); break;
    }
    return true;
}

}  // namespace vardolin::democam
