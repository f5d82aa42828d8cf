// Where and how big the component's top-level windows are, whatever the
// system's frame metrics, display scaling and monitor layout.
#pragma once

#include <windows.h>

namespace vardolin {

// Creates the windows of its lifetime DPI-unaware, so that the system scales
// them on high-DPI displays and one pixel stays 15 twips for the crop code.
// A DPI-aware host (the spreadsheet is one) would otherwise give them its own
// awareness. Systems before Windows 10 1607 lack the switch and need none.
class DpiUnawareScope {
public:
    DpiUnawareScope() noexcept;
    ~DpiUnawareScope();
    DpiUnawareScope(const DpiUnawareScope&) = delete;
    DpiUnawareScope& operator=(const DpiUnawareScope&) = delete;

private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

// Activates, for its lifetime, the activation context of the component's own
// manifest (resource 2), so that the windows created meanwhile get version 6 of
// the common controls even in a host whose own manifest does not ask for it.
// A module without that manifest (a test program) activates nothing.
class ModuleActivationScope {
public:
    ModuleActivationScope() noexcept;
    ~ModuleActivationScope();
    ModuleActivationScope(const ModuleActivationScope&) = delete;
    ModuleActivationScope& operator=(const ModuleActivationScope&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

// The outer size that gives `window` the client area `client` with its own
// styles and the system's current frame.
SIZE OuterSizeForClient(HWND window, SIZE client) noexcept;

// The top-left corner that centres a window of size `outer` in the work area
// of the monitor showing the host's active window (the primary monitor when
// there is none), kept inside that work area.
POINT CentredOnHostMonitor(SIZE outer) noexcept;

}  // namespace vardolin
