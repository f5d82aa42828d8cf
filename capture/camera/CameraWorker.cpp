#include "capture/camera/CameraWorker.h"

#include "win/ContinueOnError.h"
#include "win/MessageLoop.h"
#include "win/ModuleInstance.h"
#include "win/Win32Handles.h"

#include <objbase.h>

#include <deque>
#include <mutex>

namespace vardolin::capture {

struct CameraWorker::Queue {
    std::mutex lock;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    UniqueEvent wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::function<void()> tick;
    DWORD tickMs = 0;
    bool started = false;

    // Runs until asked to stop; every job runs, also those posted last.
    void Run() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ULONGLONG nextTick = GetTickCount64() + tickMs;
        for (;;) {
            ULONGLONG now = GetTickCount64();
            WaitForSingleObject(wake.get(), nextTick > now ? static_cast<DWORD>(nextTick - now) : 0);
            for (;;) {
                std::function<void()> job;
                {
                    std::lock_guard<std::mutex> held(lock);
                    if (jobs.empty()) break;
                    job = std::move(jobs.front());
                    jobs.pop_front();
                }
                RunGuarded(job);
            }
            {
                std::lock_guard<std::mutex> held(lock);
                if (stopping && jobs.empty()) break;
            }
            if (GetTickCount64() >= nextTick) {
                RunGuarded(tick);
                nextTick = GetTickCount64() + tickMs;
            }
        }
        tick = nullptr;  // what the tick holds goes on this thread
        CoUninitialize();
    }

    // Nothing thrown by a job may end the thread: the camera just stays as it is.
    static void RunGuarded(const std::function<void()>& job) noexcept {
        RunOrSkip([&] {
            if (job) job();
        });
    }
};

namespace {

DWORD WINAPI WorkerMain(void* parameter) {
    {
        std::shared_ptr<CameraWorker::Queue>* handed = static_cast<std::shared_ptr<CameraWorker::Queue>*>(parameter);
        std::shared_ptr<CameraWorker::Queue> queue = std::move(*handed);
        delete handed;
        queue->Run();
    }
    // The reference taken when the thread was made keeps this module's code
    // in place until here, also after the host released the component.
    FreeLibraryAndExitThread(ModuleInstance(), 0);
}

}  // namespace

CameraWorker::CameraWorker(std::function<void()> tick, DWORD tickMs) : queue_(std::make_shared<Queue>()) {
    queue_->tick = std::move(tick);
    queue_->tickMs = tickMs;
    HMODULE self = nullptr;
    if (!queue_->wake ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&WorkerMain), &self))
        return;
    auto* handed = new std::shared_ptr<Queue>(queue_);
    UniqueThread thread(CreateThread(nullptr, 0, WorkerMain, handed, 0, nullptr));
    if (!thread) {
        delete handed;
        FreeLibrary(self);
        return;
    }
    queue_->started = true;
}

CameraWorker::~CameraWorker() {
    {
        std::lock_guard<std::mutex> held(queue_->lock);
        queue_->stopping = true;
    }
    SetEvent(queue_->wake.get());
}

bool CameraWorker::Running() const noexcept { return queue_->started; }

void CameraWorker::Post(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> held(queue_->lock);
        queue_->jobs.push_back(std::move(job));
    }
    SetEvent(queue_->wake.get());
}

bool CameraWorker::RunAndPump(std::function<void()> job, DWORD timeoutMs) {
    auto done = std::make_shared<UniqueEvent>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*done) return false;
    Post([job = std::move(job), done] {
        job();
        SetEvent(done->get());
    });
    return WaitHandlingMessages(done->get(), timeoutMs);
}

}  // namespace vardolin::capture
