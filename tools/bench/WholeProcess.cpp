#include "tools/bench/WholeProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace vardolin::bench {

namespace {

double Seconds(const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; }

double MedianOf(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Starts command with standard output going to outputTo (or discarded) and
// standard error discarded; returns the child's id, or -1.
pid_t Start(const std::vector<std::string>& command, int outputTo) {
    std::vector<char*> argv;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(outputTo >= 0 ? outputTo : null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

}  // namespace

int LaunchAndReport(const std::vector<std::string>& command) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = Start(command, -1);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return 1;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::printf("%.9f %.9f %.6f %d\n", Seconds(usage.ru_utime) + Seconds(usage.ru_stime), wall,
                usage.ru_maxrss / 1024.0, succeeded ? 1 : 0);
    return 0;
}

ProcessCost RunProcess(const std::string& launcher, const std::vector<std::string>& command) {
    std::vector<std::string> launch{launcher, kLaunchArgument};
    launch.insert(launch.end(), command.begin(), command.end());
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = Start(launch, pipeEnds[1]);
    close(pipeEnds[1]);
    char report[256] = {};
    size_t got = 0;
    for (ssize_t n; got + 1 < sizeof report && (n = read(pipeEnds[0], report + got, sizeof report - 1 - got)) > 0;)
        got += size_t(n);
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return {};
    ProcessCost cost;
    int succeeded = 0;
    if (std::sscanf(report, "%lf %lf %lf %d", &cost.cpuSeconds, &cost.wallSeconds, &cost.peakMiB, &succeeded) != 4)
        return {};
    cost.succeeded = succeeded == 1;
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
