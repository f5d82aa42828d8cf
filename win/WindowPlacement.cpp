#include "win/WindowPlacement.h"

#include "win/ModuleInstance.h"

#include <algorithm>

namespace vardolin {
namespace {

using SetThreadDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

SetThreadDpiAwarenessContextFn DpiAwarenessSwitch() noexcept {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<SetThreadDpiAwarenessContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
}

// The window the macro was started from: the host's window is active on its
// own user-interface thread, which is the thread that calls us.
HWND HostWindow() noexcept {
    if (HWND active = GetActiveWindow()) return active;
    return GetForegroundWindow();
}

// The module's activation context, made once and released when the module goes.
class ModuleActivationContext {
public:
    ModuleActivationContext() noexcept {
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = ModuleInstance();
        request.lpResourceName = MAKEINTRESOURCEW(2);  // the isolation manifest
        context_ = CreateActCtxW(&request);
    }
    ~ModuleActivationContext() {
        if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
    }
    ModuleActivationContext(const ModuleActivationContext&) = delete;
    ModuleActivationContext& operator=(const ModuleActivationContext&) = delete;

    HANDLE Get() const noexcept { return context_; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
};

}  // namespace

ModuleActivationScope::ModuleActivationScope() noexcept {
    static ModuleActivationContext context;
    if (context.Get() != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context.Get(), &cookie_) != FALSE;
}

ModuleActivationScope::~ModuleActivationScope() {
    if (active_) DeactivateActCtx(0, cookie_);
}

DpiUnawareScope::DpiUnawareScope() noexcept {
    if (auto setContext = DpiAwarenessSwitch()) previous_ = setContext(DPI_AWARENESS_CONTEXT_UNAWARE);
}

DpiUnawareScope::~DpiUnawareScope() {
    if (!previous_) return;
    if (auto setContext = DpiAwarenessSwitch()) setContext(previous_);
}

SIZE OuterSizeForClient(HWND window, SIZE client) noexcept {
    RECT r{0, 0, client.cx, client.cy};
    auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    AdjustWindowRectEx(&r, style, GetMenu(window) != nullptr, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

POINT CentredOnHostMonitor(SIZE outer) noexcept {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(HostWindow(), MONITOR_DEFAULTTOPRIMARY), &monitor)) work = monitor.rcWork;
    LONG x = work.left + (work.right - work.left - outer.cx) / 2;
    LONG y = work.top + (work.bottom - work.top - outer.cy) / 2;
    // A window larger than the work area shows its title bar and left edge.
    return {std::max(x, work.left), std::max(y, work.top)};
}

}  // namespace vardolin
