// vardolin-bench: first the command-line encoder against cjpeg, whole
// process as a user runs them, with the time of each of our stages; then the
// encoder in process against libjpeg-turbo (float DCT, optimised Huffman
// tables) and stb_image_write, time, throughput, size and memory side by side;
// last the face detector's time on a 320 x 240 still.
// Each in-process measurement runs in a child process so that its memory
// figures are its own.
//
// In-process memory columns: "peak MB" is the child's whole peak (picture
// included); "enc MB" is the peak growth while encoding, above what the child
// held with the picture prepared; "budget MB" is, for vardolin, the strip
// plus the stored coefficients plus the output, the memory the encoder cannot
// do without, and "enc/budget" the ratio of the two.
#include <sys/resource.h>
#include <time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "encoder/ClsJPEG.h"
#include "encoder/MemoryPicture.h"
#include "tools/bench/BenchPictures.h"
#include "tools/bench/CliComparison.h"
#include "tools/bench/FaceTiming.h"
#include "tools/bench/ReferenceEncoders.h"
#include "tools/bench/WholeProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    const char* name;
    int width, height;
    bool subsampled;  // 4:2:0 instead of 4:4:4
    int repeats;
};

struct Result {
    double seconds = 0;
    double cpuSeconds = 0;  // processor time of the same (best) run
    long bytes = 0;
    long peakKb = 0;         // whole child
    long encodeKb = 0;       // growth while encoding
    double budgetBytes = 0;  // 0 when the encoder has no budget
};

// An encoding that is ready to run: the source is prepared beforehand (it is
// the caller's picture, not the encoder's memory). Returns the file size and
// fills in the memory budget when the encoder has one.
using Encoding = std::function<long(double& budgetBytes)>;
using Preparer = std::function<Encoding(std::vector<uint8_t> rgb, const Case& c)>;

// The strip SampleHDC draws a band of 8 rows into.
double StripBytes(int width) { return 8.0 * 3 * ((width + 7) & ~7); }

Encoding PrepareOurs(std::vector<uint8_t> rgb, const Case& c) {
    auto picture = std::make_shared<vardolin::MemoryPicture>(c.width, c.height, std::move(rgb));
    return [picture, c](double& budgetBytes) {
        vardolin::ClsJPEG encoder;
        if (!c.subsampled) encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
        encoder.SampleHDC(*picture, c.width, c.height);
        double coefficientBytes = 0;
        for (const vardolin::Component& component : encoder.ComponentList())
            coefficientBytes += double(component.Coefficients.StoredBytes());
        long size = long(encoder.Encode().size());
        budgetBytes = StripBytes(c.width) + coefficientBytes + size;
        return size;
    };
}

using ReferenceEncoder = long (*)(const std::vector<uint8_t>&, int, int, bool);

Preparer PrepareReference(ReferenceEncoder encode) {
    return [encode](std::vector<uint8_t> rgb, const Case& c) -> Encoding {
        auto pixels = std::make_shared<std::vector<uint8_t>>(std::move(rgb));
        return [encode, pixels, c](double&) { return encode(*pixels, c.width, c.height, c.subsampled); };
    };
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec * 1e-9;
}

// VmRSS or VmHWM of this process in kB.
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field) + 1);
    return 0;
}

// Makes VmHWM start again from the current resident size.
void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

// Runs the encoder `repeats` times in a child and reports the best time.
Result Measure(const Preparer& prepare, const Case& c) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    pid_t child = fork();
    if (child == 0) {
        Encoding encode = prepare(vardolin::bench::SmoothPicture(c.width, c.height).rgb, c);
        const long before = StatusKb("VmRSS:");
        ResetPeak();
        Result best{1e9, 1e9, 0, 0, 0, 0};
        for (int i = 0; i < c.repeats; ++i) {
            const auto start = Clock::now();
            const double cpuStart = CpuSeconds();
            best.bytes = encode(best.budgetBytes);
            best.seconds = std::min(best.seconds, std::chrono::duration<double>(Clock::now() - start).count());
            best.cpuSeconds = std::min(best.cpuSeconds, CpuSeconds() - cpuStart);
        }
        best.encodeKb = StatusKb("VmHWM:") - before;
        (void)!write(pipeEnds[1], &best, sizeof best);
        _exit(0);
    }
    close(pipeEnds[1]);
    Result result;
    (void)!read(pipeEnds[0], &result, sizeof result);
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.peakKb = usage.ru_maxrss;
    return result;
}

void PrintRow(const Case& c, const char* name, const Result& r, const Result& ours) {
    const double megapixels = double(c.width) * c.height / 1e6;
    const double mb = 1024.0 * 1024.0;
    std::printf("%-18s %-6s %-20s %9.3f %8.1f %9.3f %10ld %8.1f %7.1f", c.name, c.subsampled ? "4:2:0" : "4:4:4", name,
                r.seconds * 1e3, megapixels / r.seconds, r.cpuSeconds * 1e3, r.bytes, r.peakKb / 1024.0,
                r.encodeKb / 1024.0);
    if (r.budgetBytes > 0) std::printf(" %9.1f %9.2f", r.budgetBytes / mb, r.encodeKb * 1024.0 / r.budgetBytes);
    else std::printf(" %9s %9s", "-", "-");
    std::printf(" %9.2fx %9.2fx\n", r.seconds / ours.seconds, r.cpuSeconds / ours.cpuSeconds);
}

// The folder of the bench's pictures and outputs, removed at the end.
class WorkFolder {
public:
    WorkFolder() {
        char pattern[] = "/tmp/vardolin-bench-XXXXXX";
        if (mkdtemp(pattern)) path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::filesystem::path ThisProgram() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec);
}

void CompareInProcess() {
    const Case cases[] = {
        {"156x188 photo", 156, 188, false, 300},
        {"156x188 photo", 156, 188, true, 300},
        {"4000x3000 (12 MP)", 4000, 3000, false, 5},
        {"4000x3000 (12 MP)", 4000, 3000, true, 5},
    };
    const std::pair<const char*, Preparer> encoders[] = {
        {"vardolin", PrepareOurs},
        {"libjpeg-turbo float", PrepareReference(vardolin::bench::EncodeLibjpeg)},
        {"stb_image_write", PrepareReference(vardolin::bench::EncodeStb)},
    };
    std::printf("%-18s %-6s %-20s %9s %8s %9s %10s %8s %7s %9s %9s %10s %10s\n", "picture", "samp", "encoder", "ms",
                "MP/s", "cpu ms", "bytes", "peak MB", "enc MB", "budget MB", "enc/budg", "time/ours", "cpu/ours");
    for (const Case& c : cases) {
        Result ours;
        for (const auto& [name, prepare] : encoders) {
            Result r = Measure(prepare, c);
            if (ours.seconds == 0) ours = r;
            PrintRow(c, name, r, ours);
        }
    }
    std::printf(
        "\nQuality 75 everywhere. stb_image_write picks its own sampling (4:2:0 at this quality)\n"
        "and fixed Huffman tables; libjpeg-turbo runs its float DCT with optimised tables.\n"
        "time/ours above 1 means slower than vardolin. Times are the best of the repeats; cpu ms\n"
        "is the processor time of the encoding (what counts on a busy machine).\n"
        "peak MB: the whole measuring process; enc MB: its growth while encoding, above the\n"
        "prepared picture; budget MB: strip + stored coefficients + output (vardolin only).\n");
}

}  // namespace

// --cli-only: only the whole-process comparison and our stages. The program
// also starts each measured command (--launch COMMAND...).
int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], vardolin::bench::kLaunchArgument) == 0)
        return vardolin::bench::LaunchAndReport(std::vector<std::string>(argv + 2, argv + argc));
    const bool cliOnly = argc > 1 && std::strcmp(argv[1], "--cli-only") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--faces-only") == 0) {
        vardolin::bench::ReportFaceDetection(VARDOLIN_SAMPLE_PHOTOS);
        vardolin::bench::ReportPhotoChecks(VARDOLIN_SAMPLE_PHOTOS);
        return 0;
    }
    WorkFolder folder;
    if (folder.Path().empty()) return 1;
    const std::filesystem::path self = ThisProgram();
    const bool succeeded = vardolin::bench::CompareWithCjpeg(self, self.parent_path() / "vardolin-jpeg", folder.Path());
    if (!cliOnly) {
        std::printf("\nIn process, quality 75:\n\n");
        CompareInProcess();
        vardolin::bench::ReportFaceDetection(VARDOLIN_SAMPLE_PHOTOS);
        vardolin::bench::ReportPhotoChecks(VARDOLIN_SAMPLE_PHOTOS);
    }
    return succeeded ? 0 : 1;
}
