#include "win/BackgroundWork.h"

#include "win/ComponentError.h"
#include "win/Win32Handles.h"

#include <exception>
#include <memory>
#include <optional>

namespace vardolin {
namespace {

struct AwayJob {
    const std::function<void()>* work;
    std::exception_ptr error;
};

DWORD WINAPI RunAwayJob(void* parameter) {
    auto* job = static_cast<AwayJob*>(parameter);
    try {
        (*job->work)();
    } catch (...) {
        job->error = std::current_exception();
    }
    return 0;
}

// Everything but the user's input.
constexpr UINT kWakeFor = QS_SENDMESSAGE | QS_POSTMESSAGE | QS_TIMER | QS_PAINT;
constexpr UINT kHandled = PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT;

// A request to quit is kept for the thread's own loop, once the work is done.
void HandleAllButInput(std::optional<int>& quit) noexcept {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | kHandled)) {
        if (message.message == WM_QUIT) {
            quit = static_cast<int>(message.wParam);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

DWORD WINAPI RunDetachedJob(void* parameter) {
    {
        std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
        try {
            (*work)();
        } catch (...) {}
    }
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&RunDetachedJob), &self);
    FreeLibraryAndExitThread(self, 0);
}

}  // namespace

void RunAwayFromWindow(const std::function<void()>& work) {
    AwayJob job{&work, nullptr};
    UniqueThread thread(CreateThread(nullptr, 0, RunAwayJob, &job, 0, nullptr));
    if (!thread) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    HANDLE handle = thread.get();
    std::optional<int> quit;
    for (;;) {
        DWORD waited = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, kWakeFor);
        if (waited == WAIT_OBJECT_0) break;
        if (waited == WAIT_FAILED) {
            WaitForSingleObject(handle, INFINITE);  // the job holds this frame's state
            break;
        }
        HandleAllButInput(quit);
    }
    if (quit) PostQuitMessage(*quit);
    if (job.error) std::rethrow_exception(job.error);
}

void RunInBackground(std::function<void()> work) {
    // The thread holds the module until it ends, so the code it runs cannot
    // be unloaded under it.
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunDetachedJob), &self))
        ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
    auto handed = std::make_unique<std::function<void()>>(std::move(work));
    UniqueThread thread(CreateThread(nullptr, 0, RunDetachedJob, handed.get(), 0, nullptr));
    if (!thread) {
        DWORD error = GetLastError();
        FreeLibrary(self);
        ThrowIfFailed(HRESULT_FROM_WIN32(error));
    }
    handed.release();  // the thread owns it now
}

}  // namespace vardolin
