#include "democam/PhotoScene.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vardolin::democam {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A frame pixel's neighbours on the photograph and the weight (0..256) of
// the second one, for bilinear sampling.
struct Tap {
    int first, second, weight;
};

// Frame pixels 0..count-1 along one axis: the stage (stageLength pixels,
// scale frame pixels to one) starts at frame pixel start and at photograph
// pixel offset.
std::vector<Tap> Taps(int count, double start, double scale, int offset, int photoLength) {
    std::vector<Tap> taps(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        double position = std::clamp((i + 0.5 - start) / scale - 0.5 + offset, 0.0, photoLength - 1.0);
        int first = static_cast<int>(position);
        int weight = static_cast<int>(std::lround((position - first) * 256));
        taps[i] = {first, std::min(first + 1, photoLength - 1), weight};
    }
    return taps;
}

int Blend(int a, int b, int weight) { return a * (256 - weight) + b * weight; }

}  // namespace

PhotoOffset PhotoOffsetAt(std::chrono::milliseconds t) {
    const EmbeddedPhoto& photo = kEmbeddedPhoto;
    double seconds = static_cast<double>(t.count()) / 1000.0;
    double across = (1 - std::cos(seconds * 2 * kPi / 40)) / 2;  // 0..1..0 in 40 s
    double down = (1 - std::cos(seconds * 2 * kPi / 29)) / 2;
    return {static_cast<int>(std::lround(across * (photo.width - kStageWidth))),
            static_cast<int>(std::lround(down * (photo.height - kStageHeight)))};
}

void DrawPhotoScene(ScenePicture& picture, int width, int height, std::chrono::milliseconds t) {
    const EmbeddedPhoto& photo = kEmbeddedPhoto;
    picture.Resize(std::max(width, 1), std::max(height, 1));
    double scale =
        std::min(static_cast<double>(picture.width) / kStageWidth, static_cast<double>(picture.height) / kStageHeight);
    PhotoOffset offset = PhotoOffsetAt(t);
    std::vector<Tap> columns =
        Taps(picture.width, (picture.width - kStageWidth * scale) / 2, scale, offset.x, photo.width);
    std::vector<Tap> rows =
        Taps(picture.height, (picture.height - kStageHeight * scale) / 2, scale, offset.y, photo.height);
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* upper = photo.indices + static_cast<size_t>(rows[y].first) * photo.width;
        const unsigned char* lower = photo.indices + static_cast<size_t>(rows[y].second) * photo.width;
        uint8_t* out = picture.Row(y);
        for (const Tap& c : columns) {
            const PaletteColour *a = &photo.palette[upper[c.first]], *b = &photo.palette[upper[c.second]];
            const PaletteColour *d = &photo.palette[lower[c.first]], *e = &photo.palette[lower[c.second]];
            auto mix = [&](uint8_t PaletteColour::*channel) {
                int top = Blend(a->*channel, b->*channel, c.weight), bottom = Blend(d->*channel, e->*channel, c.weight);
                return static_cast<uint8_t>((Blend(top, bottom, rows[y].weight) + 32768) >> 16);
            };
            *out++ = mix(&PaletteColour::blue);
            *out++ = mix(&PaletteColour::green);
            *out++ = mix(&PaletteColour::red);
        }
    }
}

}  // namespace vardolin::democam
