#include "tools/bench/CliComparison.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/bench/BenchPictures.h"
#include "tools/bench/StageTimes.h"
#include "tools/bench/WholeProcess.h"

namespace vardolin::bench {

namespace {

constexpr const char* kCjpeg = "/usr/bin/cjpeg";
constexpr const char* kPhotoFolder = "/usr/share/backgrounds/mate/nature";
constexpr int kQuality = 90;

struct Picture {
    std::string name;
    std::filesystem::path file;
    int runs;
};

struct Sampling {
    const char* name;
    const char* ours;   // --sampling
    const char* cjpeg;  // -sample
};

constexpr Sampling kSamplings[] = {{"4:4:4", "1,1,1,1,1,1", "1x1"}, {"4:2:0", "2,2,1,1,1,1", "2x2"}};

std::vector<Picture> MakePictures(const std::filesystem::path& folder) {
    std::vector<Picture> pictures;
    const std::vector<RgbPicture> photos = LoadPhotos(kPhotoFolder);
    if (photos.empty()) std::printf("(no photos in %s: the detailed pictures are left out)\n", kPhotoFolder);
    if (!photos.empty()) {
        WritePpm(MostDetailedCrop(photos, 156, 188), folder / "photo-156x188.ppm");
        pictures.push_back({"156x188 photo", folder / "photo-156x188.ppm", 31});
    }
    WritePpm(SmoothPicture(4000, 3000), folder / "smooth-12mp.ppm");
    pictures.push_back({"12 MP smooth", folder / "smooth-12mp.ppm", 7});
    if (!photos.empty()) {
        WritePpm(TiledPhotos(photos, 4000, 3000), folder / "photos-12mp.ppm");
        pictures.push_back({"12 MP photos", folder / "photos-12mp.ppm", 7});
    }
    return pictures;
}

std::vector<std::string> OurCommand(const std::filesystem::path& tool, const Picture& picture, const Sampling& sampling,
                                    const std::filesystem::path& output) {
    return {tool.string(), picture.file.string(), output.string(), "--quality", std::to_string(kQuality),
            "--sampling",  sampling.ours,         "--force"};
}

std::vector<std::string> CjpegCommand(const Picture& picture, const Sampling& sampling,
                                      const std::filesystem::path& output) {
    return {kCjpeg,    "-dct",         "float",    "-optimize",     "-quality",           std::to_string(kQuality),
            "-sample", sampling.cjpeg, "-outfile", output.string(), picture.file.string()};
}

long FileSize(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? -1 : long(size);
}

void PrintHeader() {
    std::printf("%-14s %-5s | %9s %9s %6s | %9s %9s %6s | %8s %8s %6s | %9s %9s\n", "picture", "samp", "cpu ms",
                "cjpeg", "ratio", "wall ms", "cjpeg", "ratio", "peak MiB", "cjpeg", "ratio", "bytes", "cjpeg");
}

void PrintRow(const Picture& picture, const Sampling& sampling, const ProcessCost& ours, const ProcessCost& theirs,
              long ourBytes, long theirBytes) {
    std::printf("%-14s %-5s | %9.1f %9.1f %6.2f | %9.1f %9.1f %6.2f | %8.1f %8.1f %6.2f | %9ld %9ld%s\n",
                picture.name.c_str(), sampling.name, ours.cpuSeconds * 1e3, theirs.cpuSeconds * 1e3,
                theirs.cpuSeconds / ours.cpuSeconds, ours.wallSeconds * 1e3, theirs.wallSeconds * 1e3,
                theirs.wallSeconds / ours.wallSeconds, ours.peakMiB, theirs.peakMiB, ours.peakMiB / theirs.peakMiB,
                ourBytes, theirBytes, ours.succeeded && theirs.succeeded ? "" : "  FAILED");
}

}  // namespace

bool CompareWithCjpeg(const std::filesystem::path& launcher, const std::filesystem::path& ourTool,
                      const std::filesystem::path& folder) {
    const std::vector<Picture> pictures = MakePictures(folder);
    std::printf(
        "Whole process: vardolin-jpeg against cjpeg -dct float -optimize, quality %d, the same\n"
        "sampling; medians of interleaved runs. cpu = user + system time. Ratios: cjpeg / ours for\n"
        "cpu and wall (above 1: ours is faster), ours / cjpeg for peak memory (below 1: ours is\n"
        "smaller).\n\n",
        kQuality);
    PrintHeader();
    bool allSucceeded = true;
    std::vector<std::pair<const Picture*, const Sampling*>> measured;
    for (const Picture& picture : pictures) {
        for (const Sampling& sampling : kSamplings) {
            const std::filesystem::path ourOutput = folder / "ours.jpg", theirOutput = folder / "cjpeg.jpg";
            std::vector<ProcessCost> ours, theirs;
            for (int run = 0; run < picture.runs; ++run) {
                ours.push_back(RunProcess(launcher, OurCommand(ourTool, picture, sampling, ourOutput)));
                theirs.push_back(RunProcess(launcher, CjpegCommand(picture, sampling, theirOutput)));
            }
            const ProcessCost ourCost = Median(ours), theirCost = Median(theirs);
            allSucceeded = allSucceeded && ourCost.succeeded && theirCost.succeeded;
            PrintRow(picture, sampling, ourCost, theirCost, FileSize(ourOutput), FileSize(theirOutput));
            std::fflush(stdout);
        }
    }

    std::printf(
        "\nStages of ours, in process (median of 3, ms): read = the file opened and its header\n"
        "read, sample = pixels drawn, converted, transformed and quantized, count = symbol\n"
        "statistics and tables, code = entropy coding and file assembly, write = the file written.\n\n");
    PrintStageHeader();
    for (const Picture& picture : pictures)
        for (const Sampling& sampling : kSamplings)
            PrintStages(picture.name, sampling.name, MeasureStages(picture.file, sampling.ours, kQuality, folder));
    return allSucceeded;
}

}  // namespace vardolin::bench
