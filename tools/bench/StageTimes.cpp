#include "tools/bench/StageTimes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "encoder/ClsJPEG.h"
#include "encoder/HuffmanOptimizer.h"
#include "tools/ImageFiles.h"

namespace vardolin {

// The stages' view of an encoder's state (the encoder's friend), for timing
// the stages one by one.
struct EncoderInternals {
    static EncoderState& State(ClsJPEG& encoder) { return encoder.State; }
};

}  // namespace vardolin

namespace vardolin::bench {

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point& start) {
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - start).count();
    start = now;
    return seconds;
}

std::array<int32_t, 6> Factors(const std::string& sampling) {
    std::array<int32_t, 6> factors{};
    for (size_t i = 0, at = 0; i < 6; ++i, at += 2) factors[i] = sampling[at] - '0';
    return factors;
}

Stages MeasureOnce(const std::filesystem::path& file, const std::array<int32_t, 6>& f, int quality,
                   const std::filesystem::path& output) {
    Stages stages;
    Clock::time_point start = Clock::now();
    tools::ImageFile picture(file);
    stages.read = Since(start);

    ClsJPEG encoder;
    encoder.SetQuality(quality);
    encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    encoder.SampleHDC(picture, picture.Width(), picture.Height());
    stages.sample = Since(start);

    EncoderState& state = EncoderInternals::State(encoder);
    const ScanLists lists = DefaultScanLists(state);
    OptimizeHuffmanTables(state, lists, 0, int32_t(lists.ScanComponents.size()) - 1);
    stages.count = Since(start);
    const std::vector<uint8_t> bytes = encoder.Encode();  // counts again, then codes
    stages.code = std::max(0.0, Since(start) - stages.count);

    std::ofstream(output, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    stages.write = Since(start);
    return stages;
}

double Median3(double a, double b, double c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

}  // namespace

Stages MeasureStages(const std::filesystem::path& file, const std::string& sampling, int quality,
                     const std::filesystem::path& folder) {
    const auto factors = Factors(sampling);
    Stages s[3];
    for (Stages& stages : s) stages = MeasureOnce(file, factors, quality, folder / "stages.jpg");
    return {Median3(s[0].read, s[1].read, s[2].read), Median3(s[0].sample, s[1].sample, s[2].sample),
            Median3(s[0].count, s[1].count, s[2].count), Median3(s[0].code, s[1].code, s[2].code),
            Median3(s[0].write, s[1].write, s[2].write)};
}

void PrintStageHeader() {
    std::printf("%-14s %-5s | %8s %8s %8s %8s %8s | %8s\n", "picture", "samp", "read", "sample", "count", "code",
                "write", "total");
}

void PrintStages(const std::string& picture, const char* sampling, const Stages& s) {
    std::printf("%-14s %-5s | %8.1f %8.1f %8.1f %8.1f %8.1f | %8.1f\n", picture.c_str(), sampling, s.read * 1e3,
                s.sample * 1e3, s.count * 1e3, s.code * 1e3, s.write * 1e3,
                (s.read + s.sample + s.count + s.code + s.write) * 1e3);
}

}  // namespace vardolin::bench
