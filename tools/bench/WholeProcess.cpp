#include "WholeProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace vardolin::bench {

namespace {

double Seconds(const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; }

double MedianOf(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

ProcessCost RunProcess(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return {};
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return {};
    ProcessCost cost;
    cost.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    cost.peakMiB = usage.ru_maxrss / 1024.0;
    cost.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

ProcessCost Median(const std::vector<ProcessCost>& runs) {
    std::vector<double> cpu, wall, peak;
    bool succeeded = !runs.empty();
    for (const ProcessCost& run : runs) {
        cpu.push_back(run.cpuSeconds);
        wall.push_back(run.wallSeconds);
        peak.push_back(run.peakMiB);
        succeeded = succeeded && run.succeeded;
    }
    return {MedianOf(cpu), MedianOf(wall), MedianOf(peak), succeeded};
}

}  // namespace vardolin::bench
