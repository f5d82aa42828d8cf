// The camera's own thread, and the rule every camera object follows.
//
// Thread contract:
// - The camera thread (one per open camera control) is a COM single-threaded
//   apartment with its own message loop. It alone creates, calls and
//   releases every DirectShow object: the device enumerator, monikers,
//   filters, pins, the graph, the sink and the drivers' property pages. Jobs
//   and the watch tick run only in its own loop, never inside the modal loop
//   of a page it shows, so nothing starts a camera while a page is open.
// - The window thread (the host's user-interface thread) holds no DirectShow
//   interface. It posts jobs and reads the published snapshot
//   (CameraSnapshot.h), the one object both threads share. It waits on the
//   camera thread only while handling its own messages.
// - The capture filter's streaming thread hands frames to the sink, which
//   keeps them in the FrameTap; it never calls the graph and never sends a
//   window message.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace vardolin::capture {

class CameraWorker {
public:
    // tick runs on the thread every tickMs, between jobs.
    CameraWorker(std::function<void()> tick, DWORD tickMs);
    // Asks the thread to stop after the jobs already posted and returns at
    // once: the thread runs them, ends by itself and keeps this module
    // loaded until then.
    ~CameraWorker();
    CameraWorker(const CameraWorker&) = delete;
    CameraWorker& operator=(const CameraWorker&) = delete;

    // Runs job on the thread, after the jobs posted before it.
    void Post(std::function<void()> job);
    // Posts job and waits for it while this thread's messages go on being
    // handled; false when the job did not run to its end (no thread, or
    // given up: giveUp is asked after each message and holds).
    bool RunAndPump(std::function<void()> job, const std::function<bool()>& giveUp);
    // The thread's id; 0 when it could not be made.
    DWORD ThreadId() const noexcept;

    struct Queue;  // shared by this object and the thread

private:
    std::shared_ptr<Queue> queue_;
};

}  // namespace vardolin::capture
