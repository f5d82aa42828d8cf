// The time each stage of the command-line encoder takes, measured in process.
#pragma once

#include <filesystem>
#include <string>

namespace vardolin::bench {

struct Stages {
    double read = 0, sample = 0, count = 0, code = 0, write = 0;  // seconds
};

// Runs the stages on a picture file three times and keeps each stage's median.
Stages MeasureStages(const std::filesystem::path& file, const std::string& sampling, int quality,
                     const std::filesystem::path& folder);

void PrintStageHeader();
void PrintStages(const std::string& picture, const char* sampling, const Stages& stages);

}  // namespace vardolin::bench
