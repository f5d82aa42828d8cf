// The camera's own thread. Opening, starting, watching and stopping a camera
// can take seconds (a driver that starts slowly, a graph that waits for its
// filters); none of that may hold up the window's thread, which belongs to
// the host. DirectShow's objects are free-threaded, so the worker builds and
// runs the graphs in the multithreaded apartment, and the window's thread
// only reads frames and posts jobs.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace vardolin::capture {

class CameraWorker {
public:
    // tick runs on the worker every tickMs, between jobs.
    CameraWorker(std::function<void()> tick, DWORD tickMs);
    // Asks the thread to stop after its current job and returns at once: the
    // thread finishes that job, runs the jobs still queued and ends by
    // itself, keeping this module loaded until then.
    ~CameraWorker();
    CameraWorker(const CameraWorker&) = delete;
    CameraWorker& operator=(const CameraWorker&) = delete;

    // Runs job on the worker, after the jobs posted before it.
    void Post(std::function<void()> job);
    // Posts job and waits for it while this thread's messages go on being
    // handled (paint, timers); false when it did not finish within timeoutMs.
    bool RunAndPump(std::function<void()> job, DWORD timeoutMs);

    bool Running() const noexcept;

    struct Queue;  // shared by this object and the thread

private:
    std::shared_ptr<Queue> queue_;
};

}  // namespace vardolin::capture
