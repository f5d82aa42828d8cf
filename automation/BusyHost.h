// A spreadsheet that is busy (a cell being edited, one of its dialogs open)
// refuses calls at once instead of running them: in process with 0x800AC472,
// from another process with RPC_E_CALL_REJECTED or RPC_E_SERVERCALL_RETRYLATER.
// Every call on the host goes through RetryWhileHostBusy: a refused call is
// made again for about two seconds while the thread keeps handling its
// messages (the host's among them, so the user can finish the edit and no
// window freezes); after that the host counts as busy.
#pragma once

#include "win/ComponentError.h"

#include <windows.h>

#include <stdexcept>

namespace vardolin {

// How long a refused call is made again.
inline constexpr DWORD kBusyHostPatienceMs = 2000;

// The host kept refusing a call for as long as the patience lasts.
class HostBusy : public std::runtime_error {
public:
    HostBusy() : std::runtime_error("the spreadsheet is busy") {}
};

// True for the errors with which a busy host refuses a call.
bool IsBusyRefusal(const ComponentError& error) noexcept;

// Handles the thread's messages for a short pause before the next try. False
// when the patience that began at `firstTry` (a GetTickCount value) has run
// out, or the thread is asked to quit.
bool PauseBeforeRetry(DWORD firstTry) noexcept;

// Makes a host call, and makes it again while the host refuses it as busy;
// raises HostBusy when the patience runs out. Other failures pass unchanged.
template <class Call>
auto RetryWhileHostBusy(Call&& call) -> decltype(call()) {
    const DWORD firstTry = GetTickCount();
    for (;;) {
        try {
            return call();
        } catch (const ComponentError& error) {
            if (!IsBusyRefusal(error)) throw;
        }
        if (!PauseBeforeRetry(firstTry)) throw HostBusy();
    }
}

}  // namespace vardolin
