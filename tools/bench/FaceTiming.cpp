#include "tools/bench/FaceTiming.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/bench/BenchPictures.h"
#include "autoframe/FaceDetector.h"
#include "autoframe/PhotoChecks.h"
#include "tools/ImageFiles.h"
#include "autoframe/Pyramid.h"

namespace vardolin::bench {
namespace {

constexpr int kWidth = 320, kHeight = 240, kRuns = 40;

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + now.tv_nsec * 1e-6;
}

autoframe::GreyPicture Grey(const std::vector<uint8_t>& rgb, int width, int height) {
    std::vector<uint8_t> bgr(rgb.size());
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) bgr[i] = rgb[i + 2], bgr[i + 1] = rgb[i + 1], bgr[i + 2] = rgb[i];
    return autoframe::GreyFromBgr(bgr.data(), width, height, size_t(width) * 3, autoframe::RowOrder::TopDown);
}

// The photo shrunk to 320 pixels wide, its top 240 rows.
autoframe::GreyPicture Still(const std::filesystem::path& path) {
    tools::ImageFile file{path};
    std::vector<uint8_t> bgr(size_t(file.Width()) * 3 * file.Height());
    for (int y = 0; y < file.Height(); ++y) file.ReadRow(y, 0, file.Width(), bgr.data() + size_t(file.Width()) * 3 * y);
    autoframe::GreyPicture photo = autoframe::GreyFromBgr(bgr.data(), file.Width(), file.Height(),
                                                          size_t(file.Width()) * 3, autoframe::RowOrder::TopDown);
    autoframe::GreyPicture still = autoframe::Shrink(photo, int(int64_t(photo.width) * autoframe::kScaleOne / kWidth));
    if (still.height < kHeight) return {};
    still.height = kHeight;
    still.pixels.resize(size_t(kWidth) * kHeight);
    return still;
}

void Report(const char* name, const autoframe::GreyPicture& picture) {
    std::vector<double> times;
    size_t faces = 0;
    for (int run = 0; run < kRuns; ++run) {
        double start = CpuMilliseconds();
        faces = autoframe::FindFaces(picture).size();
        times.push_back(CpuMilliseconds() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-28s best %6.2f ms, median %6.2f ms, %zu face%s\n", name, times.front(), times[times.size() / 2],
                faces, faces == 1 ? "" : "s");
}

// The astronaut photo's top rows enlarged (nearest pixel) to a 1280 x 720
// still, as an HD camera takes it.
autoframe::GreyPicture HdStill(const std::filesystem::path& path) {
    tools::ImageFile file{path};
    size_t stride = size_t(file.Width()) * 3;
    std::vector<uint8_t> bgr(stride * file.Height());
    for (int y = 0; y < file.Height(); ++y) file.ReadRow(y, 0, file.Width(), bgr.data() + stride * y);
    autoframe::GreyPicture photo =
        autoframe::GreyFromBgr(bgr.data(), file.Width(), file.Height(), stride, autoframe::RowOrder::TopDown);
    autoframe::GreyPicture still{1280, 720, std::vector<uint8_t>(size_t(1280) * 720)};
    for (int y = 0; y < still.height; ++y)
        for (int x = 0; x < still.width; ++x)
            still.pixels[size_t(y) * still.width + x] =
                photo.At(std::min(x * 2 / 5, photo.width - 1), std::min(y * 2 / 5, photo.height - 1));
    return still;
}

void ReportCheck(const char* name, const autoframe::GreyPicture& still) {
    std::vector<double> times;
    autoframe::PhotoWarning warning{};
    // The crop frame in the middle of the still, as on a 320 x 240 one.
    autoframe::Region frame{still.width * 82 / 320, still.height * 26 / 240, still.width * 156 / 320,
                            still.height * 188 / 240};
    for (int run = 0; run < kRuns; ++run) {
        double start = CpuMilliseconds();
        warning = autoframe::CheckPhoto(still, frame, 1);
        times.push_back(CpuMilliseconds() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-28s best %6.2f ms, median %6.2f ms, warning %d\n", name, times.front(), times[times.size() / 2],
                static_cast<int>(warning));
}

}  // namespace

void ReportPhotoChecks(const std::filesystem::path& photoFolder) {
    std::printf(
        "\nPhoto checks (face finding and measures) on a 1280 x 720 still (processor time of %d runs;\n"
        "at most 15 ms wanted):\n\n",
        kRuns);
    std::filesystem::path astronaut = photoFolder / "astronaut.png";
    if (std::filesystem::exists(astronaut)) ReportCheck("astronaut portrait", HdStill(astronaut));
    else std::printf("  (no %s: build the tests first)\n", astronaut.c_str());
}

void ReportFaceDetection(const std::filesystem::path& photoFolder) {
    std::printf("\nFace detection on a %d x %d still (processor time of %d runs):\n\n", kWidth, kHeight, kRuns);
    std::filesystem::path astronaut = photoFolder / "astronaut.png";
    if (std::filesystem::exists(astronaut)) Report("astronaut portrait", Still(astronaut));
    else std::printf("  (no %s: build the tests first)\n", astronaut.c_str());
    Report("photo-like picture, no face", Grey(SmoothPicture(kWidth, kHeight).rgb, kWidth, kHeight));
}

}  // namespace vardolin::bench
