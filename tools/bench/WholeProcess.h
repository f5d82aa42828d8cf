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

// Runs program with arguments, output and errors discarded. The command is
// started by a fresh copy of the measuring program (launcher, run with
// kLaunchArgument first), so that the peak memory of the command does not
// include what the measuring program held when it forked.
ProcessCost RunProcess(const std::string& launcher, const std::vector<std::string>& command);

constexpr const char* kLaunchArgument = "--launch";

// The launcher's part: runs command and writes its cost to standard output.
int LaunchAndReport(const std::vector<std::string>& command);

// The median of each measure over several runs.
ProcessCost Median(const std::vector<ProcessCost>& runs);

}  // namespace vardolin::bench
