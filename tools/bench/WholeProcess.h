// Runs a command as a separate process and measures it the way a user's
// shell would: processor time (user + system), wall time and peak resident
// memory of the whole process.
#pragma once

#include <string>
#include <vector>

namespace vardolin::bench {

struct ProcessCost {
    double cpuSeconds = 0;
    double wallSeconds = 0;
    double peakMiB = 0;
    bool succeeded = false;
};

// Runs program with arguments, output and errors discarded.
ProcessCost RunProcess(const std::vector<std::string>& command);

// The median of each measure over several runs.
ProcessCost Median(const std::vector<ProcessCost>& runs);

}  // namespace vardolin::bench
