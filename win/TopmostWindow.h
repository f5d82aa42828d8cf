// A form that its parts take off the top of all windows while they show
// something of their own (a message box, the About window, the host's range
// box) and put back on top afterwards.
#pragma once

#include <windows.h>

namespace vardolin {

class TopmostWindow {
public:
    virtual HWND Window() const noexcept = 0;
    virtual bool IsLoaded() const noexcept = 0;
    // Put the window on top of all windows / make it an ordinary window again;
    // both load the window (without showing it) when it is not loaded.
    virtual void SetTop() noexcept = 0;
    virtual void Cancel_SetTop() noexcept = 0;
    // Loads the window when needed, shows it and brings it to the front.
    virtual void Show() = 0;
    virtual void Hide() = 0;

protected:
    ~TopmostWindow() = default;
};

}  // namespace vardolin
