// The photo checks over the portraits kept beside this file, through the
// path a still takes (BGR rows, grey, the face finder, the judgement): each
// portrait in three skin tones, framed several ways, then blurred, under- and
// over-exposed and shrunk. Prints the rate of each set per skin tone.
#include "autoframe/FaceDetector.h"
#include "autoframe/PhotoChecks.h"

#include "tools/ImageFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace vardolin::autoframe {
namespace {

// Top-down BGR rows, 3 bytes a pixel, no padding.
struct Colour {
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;
    uint8_t* At(int x, int y) { return bgr.data() + (static_cast<size_t>(y) * width + x) * 3; }
    GreyPicture Grey() const {
        return GreyFromBgr(bgr.data(), width, height, static_cast<size_t>(width) * 3, RowOrder::TopDown);
    }
};

Colour Load(const std::string& name) {
    tools::ImageFile file{std::filesystem::path(VARDOLIN_PORTRAITS) / name};
    Colour c{file.Width(), file.Height(), std::vector<uint8_t>(static_cast<size_t>(file.Width()) * file.Height() * 3)};
    for (int y = 0; y < c.height; ++y) file.ReadRow(y, 0, c.width, c.At(0, y));
    return c;
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// Skin made darker inside an ellipse around the face (feathered at its edge):
// each channel times its factor, blue darkened most, as brown skin is.
Colour Tone(Colour c, const FaceBox& face, std::array<double, 3> bgrFactor) {
    double cx = face.left + face.width / 2.0, cy = face.top + face.height / 2.0;
    double rx = face.width * 0.75, ry = face.height * 0.9;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            double d = std::hypot((x - cx) / rx, (y - cy) / ry);
            double weight = std::clamp((1.15 - d) / 0.3, 0.0, 1.0);
            uint8_t* p = c.At(x, y);
            for (int k = 0; k < 3; ++k) p[k] = Clamp(p[k] * (1 - weight + weight * bgrFactor[k]));
        }
    return c;
}

// The 320 x 240 still at (left, top) of the portrait, mirrored or not.
Colour Frame(const Colour& c, int left, int top, bool mirror) {
    Colour s{320, 240, std::vector<uint8_t>(320 * 240 * 3)};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            std::copy_n(c.bgr.data() + ((static_cast<size_t>(top + y) * c.width) + left + (mirror ? 319 - x : x)) * 3,
                        3, s.At(x, y));
    return s;
}

Colour Gain(Colour c, double gain) {
    for (uint8_t& v : c.bgr) v = Clamp(v * gain);
    return c;
}

Colour Blur(const Colour& c, double sigma) {
    int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<double> kernel(2 * radius + 1);
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += kernel[i + radius] = std::exp(-i * i / (2 * sigma * sigma));
    for (double& k : kernel) k /= sum;
    auto pass = [&](const Colour& in, int dx, int dy) {
        Colour out = in;
        for (int y = 0; y < in.height; ++y)
            for (int x = 0; x < in.width; ++x)
                for (int k = 0; k < 3; ++k) {
                    double v = 0;
                    for (int i = -radius; i <= radius; ++i) {
                        int sx = std::clamp(x + i * dx, 0, in.width - 1), sy = std::clamp(y + i * dy, 0, in.height - 1);
                        v += kernel[i + radius] * in.bgr[(static_cast<size_t>(sy) * in.width + sx) * 3 + k];
                    }
                    out.At(x, y)[k] = Clamp(v);
                }
        return out;
    };
    return pass(pass(c, 1, 0), 0, 1);
}

// The still shrunk by factor (nearest of a 2 x 2 average) in the middle of a
// still of its own mean colour, as a person further back would be.
Colour Shrunk(const Colour& c, double factor) {
    Colour out = c;
    std::array<double, 3> mean{};
    for (size_t i = 0; i < c.bgr.size(); ++i) mean[i % 3] += c.bgr[i];
    for (size_t i = 0; i < out.bgr.size(); ++i) out.bgr[i] = Clamp(mean[i % 3] / (c.width * c.height));
    int w = static_cast<int>(c.width * factor), h = static_cast<int>(c.height * factor);
    int left = (c.width - w) / 2, top = (c.height - h) / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k) {
                double sx = x / factor, sy = y / factor;
                int x0 = std::min(static_cast<int>(sx), c.width - 2), y0 = std::min(static_cast<int>(sy), c.height - 2);
                int v = c.bgr[(static_cast<size_t>(y0) * c.width + x0) * 3 + k] +
                        c.bgr[(static_cast<size_t>(y0) * c.width + x0 + 1) * 3 + k] +
                        c.bgr[(static_cast<size_t>(y0 + 1) * c.width + x0) * 3 + k] +
                        c.bgr[(static_cast<size_t>(y0 + 1) * c.width + x0 + 1) * 3 + k];
                out.At(left + x, top + y)[k] = static_cast<uint8_t>((v + 2) / 4);
            }
    return out;
}

std::string Text(double v) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

constexpr Region kFrame{82, 26, 156, 188};  // the crop frame in the middle of the still

struct Tally {
    int pictures = 0, hits = 0;
    double Rate() const { return pictures ? 100.0 * hits / pictures : 0; }
};

struct Good {
    Colour still;
    FaceBox face;  // found on the still as taken
};

// Every good still of every portrait, by skin tone.
std::map<std::string, std::vector<Good>> GoodStills() {
    struct ToneOf {
        const char* name;
        std::array<double, 3> bgr;
    };
    const ToneOf tones[] = {{"light", {1, 1, 1}}, {"medium", {0.50, 0.60, 0.70}}, {"dark", {0.28, 0.36, 0.45}}};
    struct Place {
        int left, top;
    };
    const Place places[] = {{32, 24}, {0, 0}, {64, 48}, {0, 48}, {64, 0}, {16, 40}};
    std::map<std::string, std::vector<Good>> stills;
    for (const char* name : {"astronaut.png", "hopper.png"}) {
        Colour portrait = Load(name);
        std::optional<FaceBox> face = LargestFace(FindFaces(portrait.Grey()));
        if (!face) ADD_FAILURE() << "no face in " << name;
        if (!face) continue;
        for (const ToneOf& tone : tones) {
            Colour toned = Tone(portrait, *face, tone.bgr);
            for (const Place& place : places)
                for (bool mirror : {false, true}) {
                    Colour still = Frame(toned, place.left, place.top, mirror);
                    std::optional<FaceBox> found = LargestFace(FindFaces(still.Grey()));
                    if (!found)
                        ADD_FAILURE() << "no face in " << name << " framed at " << place.left << "," << place.top;
                    if (found) stills[tone.name].push_back({std::move(still), *found});
                }
        }
    }
    return stills;
}

TEST(PhotoChecks, RatesOverThePortraitsInEachSkinTone) {
    using W = PhotoWarning;
    // A set: how its stills are made from a good one, which warnings count
    // as a hit, and the least (or, for good stills, the most) share of hits.
    struct Set {
        std::string name;
        std::function<std::optional<Colour>(const Good&)> make;
        std::function<bool(W, const Good&, const Colour&)> hit;
        double atLeast, atMost;
    };
    auto any = [](W w, const Good&, const Colour&) { return w != W::None; };
    auto blurred = [](W w, const Good&, const Colour&) { return w == W::Blurred; };
    auto blur = [](double sigma) {
        return [sigma](const Good& g) -> std::optional<Colour> { return Blur(g.still, sigma); };
    };
    // Stills of a gain whose face region crosses the dark (or bright) line.
    auto exposed = [](double gain, bool dark) {
        return [gain, dark](const Good& g) -> std::optional<Colour> {
            Colour c = Gain(g.still, gain);
            RegionMeasures m = MeasureRegion(c.Grey(), {g.face.left, g.face.top, g.face.width, g.face.height});
            bool crosses = dark ? m.medianLuminance < kDarkMedian || m.darkShare > kMaxDarkShare
                                : m.medianLuminance > kBrightMedian || m.brightShare > kMaxBrightShare;
            if (!crosses) return std::nullopt;
            return c;
        };
    };
    auto warned = [](W expected) { return [expected](W w, const Good&, const Colour&) { return w == expected; }; };
    std::vector<Set> sets = {
        {"good", [](const Good& g) -> std::optional<Colour> { return g.still; }, any, 0, 2},
        {"blur sigma 1", blur(1), blurred, 0, 100},
        {"blur sigma 2", blur(2), blurred, 0, 100},
        {"blur sigma 3", blur(3), blurred, 95, 100},
        {"blur sigma 4", blur(4), blurred, 95, 100},
    };
    for (double gain : {0.3, 0.4, 0.5, 0.6})
        sets.push_back({"gain " + Text(gain) + " dark", exposed(gain, true), warned(W::TooDark), 95, 100});
    for (double gain : {1.4, 1.6, 1.8})
        sets.push_back({"gain " + Text(gain) + " bright", exposed(gain, false), warned(W::TooBright), 95, 100});
    for (double gain : {0.8, 1.2})
        sets.push_back({"gain " + Text(gain),
                        [gain](const Good& g) -> std::optional<Colour> { return Gain(g.still, gain); }, any, 0, 2});
    for (double factor : {0.4, 0.5, 0.6})
        sets.push_back({"face times " + Text(factor),
                        [factor](const Good& g) -> std::optional<Colour> { return Shrunk(g.still, factor); },
                        [](W w, const Good&, const Colour&) { return w == W::TooFar || w == W::NoFace; }, 0, 100});

    for (const auto& [tone, goods] : GoodStills()) {
        std::map<std::string, Tally> tallies;
        for (const Set& set : sets)
            for (const Good& good : goods) {
                std::optional<Colour> still = set.make(good);
                if (!still) continue;
                W w = CheckPhoto(still->Grey(), kFrame, 1);
                Tally& t = tallies[set.name];
                ++t.pictures;
                t.hits += set.hit(w, good, *still);
            }
        for (const Set& set : sets) {
            const Tally& t = tallies[set.name];
            if (!t.pictures) continue;
            std::printf("%-7s %-18s %4d stills  %5.1f %% warned\n", tone.c_str(), set.name.c_str(), t.pictures,
                        t.Rate());
            EXPECT_GE(t.Rate(), set.atLeast) << tone << " " << set.name;
            EXPECT_LE(t.Rate(), set.atMost) << tone << " " << set.name;
        }
    }
}

// The judgement's order and its region: a sharp (checkered) face region of a
// given brightness inside a flat picture, with or without a face box.
TEST(PhotoChecks, TheFirstProblemInTheFaceRegionOrElseTheFrameIsTheOneWarning) {
    using W = PhotoWarning;
    // A 320 x 240 picture of flat grey 128 with a 70 x 70 square at (100, 60)
    // checkered low/high, for a face box there.
    auto picture = [](int low, int high) {
        GreyPicture p{320, 240, std::vector<uint8_t>(320 * 240, 128)};
        for (int y = 60; y < 130; ++y)
            for (int x = 100; x < 170; ++x) p.pixels[y * 320 + x] = static_cast<uint8_t>((x + y) % 2 ? high : low);
        return p;
    };
    const FaceBox face{100, 60, 70, 70, 5};
    const Region flatFrame{200, 40, 100, 150};
    const struct {
        int low, high;
        bool withFace;
        int scale;
        W expected;
        Region frame = {82, 26, 156, 188};
    } cases[] = {
        {100, 160, true, 1, W::None},                 // 70 / 156 = 0.45 of the frame
        {100, 160, true, 2, W::None},                 // 0.44 wanted
        {100, 160, true, 3, W::TooFar},               // 0.48 wanted
        {100, 160, true, 9, W::TooFar},               // counts as 3
        {10, 40, true, 1, W::TooDark},                // median 10
        {0, 200, true, 1, W::TooDark},                // half at 0: not more than half dark, median 0
        {220, 250, true, 1, W::TooBright},            // median 220, half at 250
        {10, 40, false, 1, W::NoFace},                // the frame is mostly mid-grey
        {100, 160, false, 1, W::Blurred, flatFrame},  // nothing sharp in the frame
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << "/" << c.high << " face " << c.withFace << " scale " << c.scale);
        EXPECT_EQ(JudgePhoto(picture(c.low, c.high), c.withFace ? std::optional(face) : std::nullopt, c.frame, c.scale),
                  c.expected);
    }
}

}  // namespace
}  // namespace vardolin::autoframe
