#include "automation/BusyHost.h"

#include "win/MessageLoop.h"

#include <algorithm>

namespace vardolin {
namespace {

// The refusal of a spreadsheet running in the same process.
constexpr HRESULT kBusyInProcess = static_cast<HRESULT>(0x800AC472);
constexpr DWORD kPauseBetweenTriesMs = 50;

}  // namespace

bool IsBusyRefusal(const ComponentError& error) noexcept {
    long number = error.number();
    return number == ErrorNumberOf(kBusyInProcess) || number == ErrorNumberOf(RPC_E_CALL_REJECTED) ||
           number == ErrorNumberOf(RPC_E_SERVERCALL_RETRYLATER);
}

bool PauseBeforeRetry(DWORD firstTry) noexcept {
    DWORD waited = GetTickCount() - firstTry;
    if (waited >= kBusyHostPatienceMs) return false;
    const DWORD pauseStart = GetTickCount();
    const DWORD pause = std::min(kPauseBetweenTriesMs, kBusyHostPatienceMs - waited);
    for (;;) {
        if (!HandleQueuedMessages()) return false;
        DWORD paused = GetTickCount() - pauseStart;
        if (paused >= pause) return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, pause - paused, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace vardolin
