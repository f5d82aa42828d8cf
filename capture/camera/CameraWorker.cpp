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
    DWORD threadId = 0;

    // The thread's own loop: its window messages (COM's and the graph's
    // hidden windows live on it), then the jobs posted, then the tick when
    // it is due. Runs until asked to stop; every job runs, also those posted
    // last.
    void Run() {
        HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ULONGLONG nextTick = GetTickCount64() + tickMs;
        HANDLE event = wake.get();
        for (;;) {
            ULONGLONG now = GetTickCount64();
            MsgWaitForMultipleObjectsEx(1, &event, nextTick > now ? static_cast<DWORD>(nextTick - now) : 0, QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
            HandleMessages();
            while (std::function<void()> job = Next()) RunGuarded(job);
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
        HandleMessages();
        if (SUCCEEDED(com)) CoUninitialize();
    }

    std::function<void()> Next() {
        std::lock_guard<std::mutex> held(lock);
        if (jobs.empty()) return nullptr;
        std::function<void()> job = std::move(jobs.front());
        jobs.pop_front();
        return job;
    }

    // Nobody asks this thread to quit; a stray WM_QUIT is dropped.
    static void HandleMessages() noexcept {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
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
    DWORD id = 0;
    UniqueThread thread(CreateThread(nullptr, 0, WorkerMain, handed, 0, &id));
    if (!thread) {
        delete handed;
        FreeLibrary(self);
        return;
    }
    queue_->threadId = id;
}

CameraWorker::~CameraWorker() {
    {
        std::lock_guard<std::mutex> held(queue_->lock);
        queue_->stopping = true;
    }
    SetEvent(queue_->wake.get());
}

DWORD CameraWorker::ThreadId() const noexcept { return queue_->threadId; }

void CameraWorker::Post(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> held(queue_->lock);
        queue_->jobs.push_back(std::move(job));
    }
    SetEvent(queue_->wake.get());
}

bool CameraWorker::RunAndPump(std::function<void()> job, const std::function<bool()>& giveUp) {
    auto done = std::make_shared<UniqueEvent>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*done || !ThreadId()) return false;
    Post([job = std::move(job), done] {
        Queue::RunGuarded(job);
        SetEvent(done->get());
    });
    HANDLE finished = done->get();
    for (;;) {
        if (MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0)
            return true;
        if (!HandleQueuedMessages() || (giveUp && giveUp())) return false;
    }
}

}  // namespace vardolin::capture
