// The About window's three timers, each with an interval and an enabled flag
// like a form's timer control: a timer ticks only while it is enabled and its
// interval is not 0. Ticks arrive as WM_TIMER with the timer's id; an
// environment whose timers tick by hand starts no platform timer.
#pragma once

#include "win/Environment.h"

#include <windows.h>

#include <array>

namespace vardolin::about {

enum class AboutTimer : UINT_PTR {
    Timer1 = 1,  // end of the hold
    Trans = 2,   // one fade-out step per tick
    Timer3 = 3,  // one fade-in step per tick
};

class AboutTimers {
public:
    AboutTimers(HWND window, const vardolin::Environment& environment) noexcept;
    ~AboutTimers();
    AboutTimers(const AboutTimers&) = delete;
    AboutTimers& operator=(const AboutTimers&) = delete;

    // Sets both properties at once, as the window's design does.
    void Define(AboutTimer timer, bool enabled, UINT intervalMs) noexcept;
    void SetEnabled(AboutTimer timer, bool enabled) noexcept;
    void SetInterval(AboutTimer timer, UINT intervalMs) noexcept;
    bool Enabled(AboutTimer timer) const noexcept;
    UINT Interval(AboutTimer timer) const noexcept;
    bool Ticking(AboutTimer timer) const noexcept;

private:
    struct State {
        bool enabled = false;
        UINT interval = 0;
        bool running = false;  // a platform timer is set
    };
    State& StateOf(AboutTimer timer) noexcept;
    const State& StateOf(AboutTimer timer) const noexcept;
    // Starts the platform timer afresh (a new full interval) or stops it.
    void Apply(AboutTimer timer) noexcept;

    HWND window_;
    const vardolin::Environment& environment_;
    std::array<State, 3> states_{};
};

}  // namespace vardolin::about
