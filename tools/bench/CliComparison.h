// The command-line encoder against cjpeg, whole process as a user runs them,
// and the time each stage of ours takes.
#pragma once

#include <filesystem>

namespace vardolin::bench {

// Makes the pictures in folder, runs both encoders on each at 4:4:4 and
// 4:2:0 (interleaved runs, medians, each started by launcher) and prints the
// table and our stages. Returns false when a run failed.
bool CompareWithCjpeg(const std::filesystem::path& launcher, const std::filesystem::path& ourTool,
                      const std::filesystem::path& folder);

}  // namespace vardolin::bench
